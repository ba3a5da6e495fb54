#include "hid_device.h"

#include <algorithm>
#include <cstring>

#include "version_exchange.h"

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

void HidDevice::AddFilter(std::int32_t vendorId, std::int32_t productId, const std::wstring& name, std::int32_t kind) {
    filters_.push_back(HidFilter{vendorId, productId, name, kind});
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
    // The path must fit its field whole; a cut path would name another interface.
    const std::size_t pathLength = std::strlen(info.path);
    if (pathLength >= kHidPathSize) {
        return;
    }
    std::unique_ptr<hid_device, HidDeviceCloser> device(hid_open_path(info.path));
    if (!device || info.usage_page != kDisplayUsagePage || info.usage != kDisplayUsage) {
        return;  // another collection of the same device is closed again
    }

    auto entry = std::make_unique<HidDeviceEntry>();
    entry->index = static_cast<std::int32_t>(devices_.size());
    entry->vendorId = info.vendor_id;
    entry->productId = info.product_id;
    std::memcpy(entry->path, info.path, pathLength + 1);
    wchar_t product[kProductBufferLength] = {};
    if (hid_get_product_string(device.get(), product, kProductBufferLength) == 0) {
        product[kProductBufferLength - 1] = L'\0';
        entry->product = product;
    }
    entry->device = std::move(device);
    entry->release = info.release_number;
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
    const BoundedVersionAnswer answer = ExchangeFirmwareVersionWithin(devices_.front()->device, kVersionExchangeDeadline);
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
