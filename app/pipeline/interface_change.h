#pragma once

#include <functional>
#include <string_view>

namespace Thermolyx {

// Device-interface events the program answers (DBT_DEVICEARRIVAL, DBT_DEVICEREMOVECOMPLETE).
enum class InterfaceEvent { Arrival, RemoveComplete };

// Whether an interface path names the display: the ids are looked for in an
// upper-cased copy, so "vid_1a2c&pid_4984" counts too.
bool IsDisplayInterfacePath(std::wstring_view path);

// How many device scans an interface change asks for: none for other devices; one
// for a removal or any arrival of the display; two for the arrival of its vendor
// collection (as told by `hasVendorCollection`, asked only for arrivals of the display).
int ScansForInterfaceChange(InterfaceEvent event, std::wstring_view path,
                            const std::function<bool(std::wstring_view)>& hasVendorCollection);

}  // namespace Thermolyx
