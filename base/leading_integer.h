#pragma once

#include <cstdint>
#include <string_view>

namespace Base {

// The integer a text starts with: leading white space skipped, an optional sign,
// then decimal digits up to the first other character; 0 when there are none. A
// value beyond the 32-bit range saturates instead of wrapping.
std::int32_t ParseLeadingInteger(std::wstring_view text);
std::int32_t ParseLeadingInteger(std::string_view text);

}  // namespace Base
