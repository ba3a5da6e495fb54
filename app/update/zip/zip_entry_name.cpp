#include "update/zip/zip_entry_name.h"

#include <algorithm>
#include <array>
#include <cwctype>

namespace {

// One cleaning step; false when no rule applies any more.
bool CleanOnce(std::wstring& name) {
    if (name.size() >= 2 && name[0] != L'\0' && name[1] == L':') {
        name.erase(0, 2);
        return true;
    }
    if (!name.empty() && IsSeparator(name[0])) {
        name.erase(0, 1);
        return true;
    }
    for (const std::wstring_view sequence : {L"\\..\\", L"\\../", L"/../", L"/..\\"}) {
        const std::size_t at = name.find(sequence);
        if (at != std::wstring::npos) {
            name.erase(0, at + sequence.size());
            return true;
        }
    }
    return false;
}

std::wstring Upper(std::wstring_view text) {
    std::wstring result(text);
    std::transform(result.begin(), result.end(), result.begin(),
                   [](wchar_t c) { return static_cast<wchar_t>(std::towupper(static_cast<std::wint_t>(c))); });
    return result;
}

// Windows opens a device for these whatever the extension, in any folder.
bool IsReservedDeviceName(std::wstring_view component) {
    std::wstring_view stem = component.substr(0, component.find(L'.'));
    while (!stem.empty() && stem.back() == L' ') {
        stem.remove_suffix(1);
    }
    static constexpr std::array<std::wstring_view, 6> kNames = {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$"};
    const std::wstring upper = Upper(stem);
    if (std::find(kNames.begin(), kNames.end(), upper) != kNames.end()) {
        return true;
    }
    // COM1 to COM9 and LPT1 to LPT9; Windows counts the superscript digits too.
    static constexpr std::wstring_view kNumbered = L"123456789\u00B9\u00B2\u00B3";
    return upper.size() == 4 && (upper.starts_with(L"COM") || upper.starts_with(L"LPT")) &&
           kNumbered.find(upper[3]) != std::wstring_view::npos;
}

bool IsSafeComponent(std::wstring_view component) {
    if (component.empty() || component == L".") {
        return true;  // "a//b" and "a/./b" name the same folder as "a/b"
    }
    if (component == L"..") {
        return false;
    }
    // Windows silently drops trailing dots and spaces, so "... " or "x." would not
    // name what it says.
    if (component.back() == L'.' || component.back() == L' ') {
        return false;
    }
    for (const wchar_t c : component) {
        if (c < 0x20 || c == 0x7F || std::wstring_view(L":*?\"<>|").find(c) != std::wstring_view::npos) {
            return false;
        }
    }
    return !IsReservedDeviceName(component);
}

}  // namespace

std::wstring CleanEntryName(std::wstring name) {
    while (CleanOnce(name)) {
    }
    return name;
}

bool IsSafeEntryName(std::wstring_view name) {
    if (name.empty() || IsSeparator(name.front())) {
        return false;
    }
    std::size_t start = 0;
    while (start <= name.size()) {
        std::size_t end = start;
        while (end < name.size() && !IsSeparator(name[end])) {
            ++end;
        }
        if (!IsSafeComponent(name.substr(start, end - start))) {
            return false;
        }
        start = end + 1;
    }
    return true;
}
