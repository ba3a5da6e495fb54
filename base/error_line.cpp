#include "base/error_line.h"

#include <cstdio>

namespace Base {

std::string HresultLine(std::string_view message, std::int32_t code) {
    char hex[9] = {};
    std::snprintf(hex, sizeof(hex), "%x", static_cast<unsigned>(static_cast<std::uint32_t>(code)));
    std::string line(message);
    line += hex;
    return line;
}

void WriteErrorLine(std::string_view line) {
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fputc('\n', stderr);
    std::fflush(stderr);
}

}  // namespace Base
