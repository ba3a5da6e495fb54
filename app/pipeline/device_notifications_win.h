#pragma once

#include <windows.h>

#include <string>

#include "pipeline/device_worker_win.h"

// RegisterDeviceNotificationW, or a stand-in that records what it is given.
using RegisterNotification = HDEVNOTIFY(WINAPI*)(HANDLE recipient, LPVOID filter, DWORD flags);

// Asks for device-interface notifications to `window` (USB device, disk, HID and
// network classes). The registrations last as long as the window.
void RegisterDeviceNotifications(HWND window,
                                 RegisterNotification registerNotification = ::RegisterDeviceNotificationW);

// WM_DEVICECHANGE: queues device scans for arrivals and removals of the display's
// interfaces. Every such message is answered with 0.
LRESULT HandleDeviceChange(WPARAM event, LPARAM data, DeviceWorker& worker);

// Whether the interface at `path` is the display's vendor collection.
bool InterfaceHasVendorCollection(const std::wstring& path);
