#include "update/version_text.h"

#include <algorithm>
#include <string>
#include <vector>

#include "base/leading_integer.h"

namespace {

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

template <typename Allowed>
bool IsAcceptedText(std::wstring_view text, Allowed allowed) {
    return !text.empty() && text.size() <= kMaxVersionTextLength && std::all_of(text.begin(), text.end(), allowed);
}

std::vector<std::wstring_view> SplitAtDots(std::wstring_view text) {
    std::vector<std::wstring_view> parts;
    for (;;) {
        const std::size_t dot = text.find(L'.');
        parts.push_back(text.substr(0, dot));
        if (dot == std::wstring_view::npos) {
            return parts;
        }
        text.remove_prefix(dot + 1);
    }
}

}  // namespace

bool IsAcceptedSoftwareVersion(std::wstring_view text) {
    return IsAcceptedText(text, [](wchar_t c) { return IsDigit(c) || c == L'.'; });
}

bool IsAcceptedFirmwareVersion(std::wstring_view text) { return IsAcceptedText(text, IsDigit); }

int CompareVersions(std::wstring_view current, std::wstring_view server) {
    const std::vector<std::wstring_view> currentParts = SplitAtDots(current);
    const std::vector<std::wstring_view> serverParts = SplitAtDots(server);
    if (currentParts.size() != serverParts.size()) {
        return 2;
    }
    for (std::size_t i = 0; i < currentParts.size(); ++i) {
        const std::int32_t mine = Base::ParseLeadingInteger(currentParts[i]);
        const std::int32_t theirs = Base::ParseLeadingInteger(serverParts[i]);
        if (mine > theirs) {
            return -1;
        }
        if (mine < theirs) {
            return 1;
        }
    }
    return 0;
}

bool IsFirmwareNewer(std::wstring_view server, std::int32_t deviceVersion) {
    if (deviceVersion <= -1) {
        return false;
    }
    static constexpr wchar_t kHexDigits[] = L"0123456789abcdef";
    std::wstring hex;
    auto rest = static_cast<std::uint32_t>(deviceVersion);
    do {
        hex.insert(hex.begin(), kHexDigits[rest % 16]);
        rest /= 16;
    } while (rest != 0);
    return Base::ParseLeadingInteger(server) > Base::ParseLeadingInteger(hex);
}
