#pragma once

#include <hidapi.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "pipeline/display_ids.h"
#include "pipeline/display_report.h"

// hidapi waits without a limit for a feature report, so the version exchange runs
// on a helper thread and the worker waits this long for it.
inline constexpr std::chrono::milliseconds kVersionExchangeDeadline{1000};

// The longest interface path taken, with its NUL; a longer one is passed over.
inline constexpr std::size_t kHidPathSize = 1024;

struct HidFilter {
    std::int32_t vendorId = 0;
    std::int32_t productId = 0;
};

struct HidDeviceCloser {
    void operator()(hid_device* device) const { hid_close(device); }
};
// Shared, because a version exchange that a display leaves unanswered keeps the
// handle on its helper thread until hidapi returns, long after the entry is gone.
using HidDeviceHandle = std::shared_ptr<hid_device>;

// One open display interface: only its device handle is ever used.
struct HidDeviceEntry {
    HidDeviceHandle device;
};

// The program's only link to the displays. One object per process; every operation
// but DeviceCount runs on the worker thread, so nothing here takes a lock.
class HidDevice {
public:
    static HidDevice& Instance();

    HidDevice(const HidDevice&) = delete;
    HidDevice& operator=(const HidDevice&) = delete;

    // The device scan: the display's filter, every interface closed, the matching ones
    // opened again, and the list live.
    void ScanForDisplays();

    void ClearFilters();
    // The name and kind are part of the call but match nothing, so they are not kept.
    void AddFilter(std::int32_t vendorId, std::int32_t productId, const std::wstring& name, std::int32_t kind);
    void CloseAll();
    void OpenAll();
    // Sends the report to every open display; false only while the list is not live.
    bool WriteAll(const std::uint8_t* report);
    // Asks the first open display; on success stores byte 1 * 256 + byte 2 of its
    // answer. An answer counts only when it is long enough and names report 7; a
    // display that does not answer within the deadline is left out until the next scan.
    bool ReadFirmwareVersion(std::int32_t& version);
    int DeviceCount() const;

    // 1 while the device list is live: set by the device scan, cleared by CloseAll.
    std::int32_t enabled = 0;

private:
    HidDevice();
    ~HidDevice();

    void TryOpen(const hid_device_info& info);
    void LeaveOutFirst();

    std::vector<std::unique_ptr<HidDeviceEntry>> devices_;
    std::vector<HidFilter> filters_;
    // The UI thread reads the count while the worker rebuilds the list.
    std::atomic<int> deviceCount_{0};
};
