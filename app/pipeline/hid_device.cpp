#include "pipeline/hid_device.h"

#include <algorithm>
#include <cstring>

#include "pipeline/version_exchange.h"

namespace {

constexpr std::size_t kWriteLength = kDisplayReportSize + 1;  // the display expects a trailing zero byte
constexpr std::size_t kProductBufferLength = 512;

}  // namespace

HidDevice& HidDevice::Instance() {
    static HidDevice instance;
    return instance;
}

HidDevice::HidDevice() {
    // A failed initialisation is retried by hidapi at each enumeration.
    hid_init();
}

HidDevice::~HidDevice() {
    CloseAll();
    hid_exit();
}

void HidDevice::ClearFilters() { filters_.clear(); }

void HidDevice::ScanForDisplays() {
    ClearFilters();
    AddFilter(kDisplayVendorId, kDisplayProductId, L"", 1);
    CloseAll();
    OpenAll();  // appends, so CloseAll comes first
    enabled = 1;
}

void HidDevice::AddFilter(std::int32_t vendorId, std::int32_t productId, const std::wstring&, std::int32_t) {
    filters_.push_back(HidFilter{vendorId, productId});
}

void HidDevice::CloseAll() {
    if (enabled == 0) {
        return;
    }
    enabled = 0;
    devices_.clear();
    deviceCount_ = 0;
}

void HidDevice::OpenAll() {
    hid_device_info* all = hid_enumerate(0, 0);
    for (const hid_device_info* info = all; info != nullptr; info = info->next) {
        TryOpen(*info);
    }
    hid_free_enumeration(all);
}

void HidDevice::TryOpen(const hid_device_info& info) {
    const bool wanted = std::any_of(filters_.begin(), filters_.end(), [&](const HidFilter& filter) {
        return filter.vendorId == info.vendor_id && filter.productId == info.product_id;
    });
    if (!wanted || info.path == nullptr) {
        return;
    }
    // A path too long for the device list would be cut, and a cut path names another
    // interface.
    if (std::strlen(info.path) >= kHidPathSize) {
        return;
    }
    std::unique_ptr<hid_device, HidDeviceCloser> device(hid_open_path(info.path));
    if (!device || info.usage_page != kDisplayUsagePage || info.usage != kDisplayUsage) {
        return;  // another collection of the same device is closed again
    }

    auto entry = std::make_unique<HidDeviceEntry>();
    entry->device = std::move(device);
    devices_.push_back(std::move(entry));
    deviceCount_ = static_cast<int>(devices_.size());
}

bool HidDevice::WriteAll(const std::uint8_t* report) {
    if (enabled == 0) {
        return false;
    }
    std::uint8_t buffer[kWriteLength] = {};
    std::memcpy(buffer, report, kDisplayReportSize);
    for (const auto& entry : devices_) {
        // A display that is gone fails here until the next scan drops it.
        hid_send_feature_report(entry->device.get(), buffer, kWriteLength);
    }
    return true;
}

bool HidDevice::ReadFirmwareVersion(std::int32_t& version) {
    if (enabled == 0 || devices_.empty()) {
        return false;
    }
    const BoundedVersionAnswer answer =
        ExchangeFirmwareVersionWithin(devices_.front()->device, kVersionExchangeDeadline);
    if (answer.timedOut) {
        LeaveOutFirst();
        return false;
    }
    if (!answer.version) {
        return false;
    }
    version = *answer.version;
    return true;
}

// The helper thread may sit in hidapi with this display's handle for good; nothing
// else may use the handle meanwhile, so the display waits for the next scan.
void HidDevice::LeaveOutFirst() {
    devices_.erase(devices_.begin());
    deviceCount_ = static_cast<int>(devices_.size());
}

int HidDevice::DeviceCount() const { return deviceCount_; }
