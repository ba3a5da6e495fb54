#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace Base {

// `message` directly followed by `code` in lower-case hexadecimal without leading
// zeros; a negative code shows its 32-bit pattern.
std::string HresultLine(std::string_view message, std::int32_t code);

// Writes `line` and a line end to the standard error stream and flushes it. The
// program has no console, so the lines are seen only when someone attaches one.
void WriteErrorLine(std::string_view line);

}  // namespace Base
