#include "base/leading_integer.h"

#include <limits>

namespace Base {

namespace {

template <typename Char>
bool IsBlank(Char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

template <typename Char>
std::int32_t Parse(std::basic_string_view<Char> text) {
    std::size_t at = 0;
    while (at < text.size() && IsBlank(text[at])) {
        ++at;
    }
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
        negative = text[at] == '-';
        ++at;
    }
    constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    std::int64_t magnitude = 0;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
        magnitude = std::min(magnitude * 10 + (text[at] - '0'), kLimit);
    }
    if (negative) {
        return static_cast<std::int32_t>(-magnitude);
    }
    return static_cast<std::int32_t>(std::min(magnitude, kLimit - 1));
}

}  // namespace

std::int32_t ParseLeadingInteger(std::wstring_view text) { return Parse(text); }

std::int32_t ParseLeadingInteger(std::string_view text) { return Parse(text); }

}  // namespace Base
