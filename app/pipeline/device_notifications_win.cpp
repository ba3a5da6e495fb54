#include "pipeline/device_notifications_win.h"

#include <dbt.h>

// MinGW's HID headers lack C linkage of their own.
extern "C" {
#include <hidsdi.h>
#include <hidpi.h>
}

#include "pipeline/display_ids.h"
#include "pipeline/interface_change.h"

namespace {

constexpr GUID kUsbDeviceInterface = {0xA5DCBF10, 0x6530, 0x11D2, {0x90, 0x1F, 0x00, 0xC0, 0x4F, 0xB9, 0x51, 0xED}};
constexpr GUID kDiskInterface = {0x53F56307, 0xB6BF, 0x11D0, {0x94, 0xF2, 0x00, 0xA0, 0xC9, 0x1E, 0xFB, 0x8B}};
constexpr GUID kHidInterface = {0x4D1E55B2, 0xF16F, 0x11CF, {0x88, 0xCB, 0x00, 0x11, 0x11, 0x00, 0x00, 0x30}};
constexpr GUID kNetworkInterface = {0xAD498944, 0x762F, 0x11D0, {0x8D, 0xCB, 0x00, 0xC0, 0x4F, 0xC3, 0x35, 0x8C}};

struct PreparsedDataTraits {
    using Type = PHIDP_PREPARSED_DATA;
    static Type Invalid() { return nullptr; }
    static void Close(Type data) { ::HidD_FreePreparsedData(data); }
};
using UniquePreparsedData = Base::UniqueAny<PreparsedDataTraits>;

}  // namespace

void RegisterDeviceNotifications(HWND window, RegisterNotification registerNotification) {
    for (const GUID& interfaceClass : {kUsbDeviceInterface, kDiskInterface, kHidInterface, kNetworkInterface}) {
        DEV_BROADCAST_DEVICEINTERFACE_W filter = {};
        filter.dbcc_size = sizeof(filter);
        filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
        filter.dbcc_classguid = interfaceClass;
        registerNotification(window, &filter, DEVICE_NOTIFY_WINDOW_HANDLE);
    }
}

bool InterfaceHasVendorCollection(const std::wstring& path) {
    Base::UniqueFileHandle device(::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                                FILE_FLAG_OVERLAPPED, nullptr));
    if (!device) {
        return false;
    }
    PHIDP_PREPARSED_DATA raw = nullptr;
    if (!::HidD_GetPreparsedData(device.Get(), &raw)) {
        return false;
    }
    UniquePreparsedData preparsed(raw);
    HIDP_CAPS caps = {};
    return ::HidP_GetCaps(preparsed.Get(), &caps) == HIDP_STATUS_SUCCESS && caps.UsagePage == kDisplayUsagePage &&
           caps.Usage == kDisplayUsage;
}

LRESULT HandleDeviceChange(WPARAM event, LPARAM data, DeviceWorker& worker) {
    const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(data);
    if ((event != DBT_DEVICEARRIVAL && event != DBT_DEVICEREMOVECOMPLETE) || header == nullptr ||
        header->dbch_devicetype != DBT_DEVTYP_DEVICEINTERFACE) {
        return 0;
    }
    const auto* broadcast = reinterpret_cast<const DEV_BROADCAST_DEVICEINTERFACE_W*>(header);
    const InterfaceEvent change = event == DBT_DEVICEARRIVAL ? InterfaceEvent::Arrival : InterfaceEvent::RemoveComplete;
    const int scans = ScansForInterfaceChange(change, broadcast->dbcc_name, [](std::wstring_view path) {
        return InterfaceHasVendorCollection(std::wstring(path));
    });
    for (int i = 0; i < scans; ++i) {
        worker.QueueCommand(kCommandDeviceScan);
    }
    return 0;
}
