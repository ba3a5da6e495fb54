#include "pipeline/interface_change.h"

#include <algorithm>
#include <cwchar>
#include <string>

#include "pipeline/display_ids.h"

namespace {

// How the system names the display's ids in an interface path, in upper case.
const std::wstring& DisplayIdsText() {
    static const std::wstring text = [] {
        wchar_t buffer[32] = {};
        std::swprintf(buffer, std::size(buffer), L"VID_%04X&PID_%04X", static_cast<unsigned>(kDisplayVendorId),
                      static_cast<unsigned>(kDisplayProductId));
        return std::wstring(buffer);
    }();
    return text;
}

}  // namespace

bool IsDisplayInterfacePath(std::wstring_view path) {
    std::wstring upper(path);
    // Only ASCII letters matter for the ids; other characters cannot form a match.
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](wchar_t c) { return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - L'a' + L'A') : c; });
    return upper.find(DisplayIdsText()) != std::wstring::npos;
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
