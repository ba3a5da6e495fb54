#include "pipeline/device_notifications_win.h"

// The system's own names for the interface classes, defined here to compare with.
#include <initguid.h>
#include <dbt.h>
#include <ddk/ndisguid.h>
#include <gtest/gtest.h>
#include <usbiodef.h>
#include <winioctl.h>
extern "C" {
#include <hidsdi.h>
}

#include <vector>

#include "fake_display.h"
#include "pipeline/hid_device.h"
#include "worker_fixture_win.h"

namespace {

// A broadcast record as the system hands it over: the header, then the path.
std::vector<unsigned char> InterfaceBroadcast(const std::wstring& path, DWORD deviceType = DBT_DEVTYP_DEVICEINTERFACE) {
    std::vector<unsigned char> record(sizeof(DEV_BROADCAST_DEVICEINTERFACE_W) + path.size() * sizeof(wchar_t));
    auto* broadcast = reinterpret_cast<DEV_BROADCAST_DEVICEINTERFACE_W*>(record.data());
    broadcast->dbcc_size = static_cast<DWORD>(record.size());
    broadcast->dbcc_devicetype = deviceType;
    std::copy(path.begin(), path.end(), broadcast->dbcc_name);
    return record;
}

// Runs the queued commands; every queued device scan sets the count text once.
int ScansQueued(TestWorker& worker, RecordingWindow& window) {
    const int before = static_cast<int>(window.Events().size());
    for (int i = 0; i < 4; ++i) {
        worker.Step();
    }
    int scans = 0;
    const auto events = window.Events();
    for (std::size_t i = before; i < events.size(); ++i) {
        scans += events[i].rfind(L"Device:", 0) == 0 ? 1 : 0;
    }
    return scans;
}

constexpr wchar_t kVendorCollection[] =
    L"\\\\?\\HID#VID_1A2C&PID_4984&Col01#7&1a2b3c&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030}";
constexpr wchar_t kLowerCase[] = L"\\\\?\\usb#vid_1a2c&pid_4984#0001#{a5dcbf10-6530-11d2-901f-00c04fb951ed}";
constexpr wchar_t kUsbStick[] =
    L"\\\\?\\USBSTOR#Disk&Ven_Generic&Prod_Flash#123&0#{53f56307-b6bf-11d0-94f2-00a0c91efb8b}";

TEST(HandleDeviceChange, QueuesScansOnlyForTheDisplay) {
    RecordingWindow window;
    TestWorker worker{window};
    const struct {
        WPARAM event;
        const wchar_t* path;
        DWORD deviceType;
        int scans;
    } cases[] = {
        // No HID device can be opened here, so the interface test fails: one scan.
        {DBT_DEVICEARRIVAL, kVendorCollection, DBT_DEVTYP_DEVICEINTERFACE, 1},
        {DBT_DEVICEARRIVAL, kLowerCase, DBT_DEVTYP_DEVICEINTERFACE, 1},
        {DBT_DEVICEREMOVECOMPLETE, kVendorCollection, DBT_DEVTYP_DEVICEINTERFACE, 1},
        {DBT_DEVICEARRIVAL, kUsbStick, DBT_DEVTYP_DEVICEINTERFACE, 0},
        {DBT_DEVICEREMOVECOMPLETE, kUsbStick, DBT_DEVTYP_DEVICEINTERFACE, 0},
        {DBT_DEVICEQUERYREMOVE, kVendorCollection, DBT_DEVTYP_DEVICEINTERFACE, 0},
        {DBT_DEVICEARRIVAL, kVendorCollection, DBT_DEVTYP_VOLUME, 0},
    };
    for (const auto& c : cases) {
        auto record = InterfaceBroadcast(c.path, c.deviceType);
        EXPECT_EQ(HandleDeviceChange(c.event, reinterpret_cast<LPARAM>(record.data()), worker), 0);
        EXPECT_EQ(ScansQueued(worker, window), c.scans) << c.event << " " << c.deviceType;
    }
    EXPECT_EQ(HandleDeviceChange(DBT_DEVNODES_CHANGED, 0, worker), 0);
    EXPECT_EQ(ScansQueued(worker, window), 0);
    HidDevice::Instance().CloseAll();
}

struct RecordedRegistration {
    HANDLE recipient;
    DEV_BROADCAST_DEVICEINTERFACE_W filter;
    DWORD flags;
};
std::vector<RecordedRegistration> registrations;

HDEVNOTIFY WINAPI RecordRegistration(HANDLE recipient, LPVOID filter, DWORD flags) {
    registrations.push_back({recipient, *static_cast<const DEV_BROADCAST_DEVICEINTERFACE_W*>(filter), flags});
    return reinterpret_cast<HDEVNOTIFY>(registrations.size());
}

TEST(RegisterDeviceNotifications, AsksForTheFourInterfaceClassesOfTheSystem) {
    const auto window = reinterpret_cast<HWND>(0x1234);
    registrations.clear();
    RegisterDeviceNotifications(window, &RecordRegistration);
    GUID hid = {};
    ::HidD_GetHidGuid(&hid);
    const GUID expected[] = {GUID_DEVINTERFACE_USB_DEVICE, GUID_DEVINTERFACE_DISK, hid, GUID_NDIS_LAN_CLASS};
    ASSERT_EQ(registrations.size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        const RecordedRegistration& r = registrations[i];
        EXPECT_EQ(r.recipient, window);
        EXPECT_EQ(r.flags, static_cast<DWORD>(DEVICE_NOTIFY_WINDOW_HANDLE));
        EXPECT_EQ(r.filter.dbcc_size, 32u);
        EXPECT_EQ(r.filter.dbcc_devicetype, static_cast<DWORD>(DBT_DEVTYP_DEVICEINTERFACE));
        EXPECT_EQ(r.filter.dbcc_reserved, 0u);
        EXPECT_TRUE(::IsEqualGUID(r.filter.dbcc_classguid, expected[i])) << "filter " << i;
    }
}

TEST(InterfaceHasVendorCollection, FailsForAPathThatCannotBeOpened) {
    EXPECT_FALSE(InterfaceHasVendorCollection(kVendorCollection));
    EXPECT_FALSE(InterfaceHasVendorCollection(L""));
}

}  // namespace
