#include "interface_change.h"

#include <algorithm>
#include <string>

namespace {

constexpr std::wstring_view kDisplayIds = L"VID_1A2C&PID_4984";

}  // namespace

bool IsDisplayInterfacePath(std::wstring_view path) {
    std::wstring upper(path);
    // Only ASCII letters matter for the ids; other characters cannot form a match.
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](wchar_t c) { return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - L'a' + L'A') : c; });
    return upper.find(kDisplayIds) != std::wstring::npos;
}

int ScansForInterfaceChange(InterfaceEvent event, std::wstring_view path,
                            const std::function<bool(std::wstring_view)>& hasVendorCollection) {
    if (!IsDisplayInterfacePath(path)) {
        return 0;
    }
    int scans = 1;
    if (event == InterfaceEvent::Arrival && hasVendorCollection(path)) {
        ++scans;
    }
    return scans;
}
