#include "update/publisher_key.h"

namespace Thermolyx {

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

}  // namespace

std::optional<PublisherKey> ParsePublisherKey(std::string_view hex) {
    PublisherKey key{};
    if (hex.size() == 2 * key.size() + 2 && hex.substr(0, 2) == "04") {
        hex.remove_prefix(2);
    }
    if (hex.size() != 2 * key.size()) {
        return std::nullopt;
    }
    for (std::size_t i = 0; i < key.size(); ++i) {
        const int high = HexDigit(hex[2 * i]);
        const int low = HexDigit(hex[2 * i + 1]);
        if (high < 0 || low < 0) {
            return std::nullopt;
        }
        key[i] = static_cast<std::uint8_t>(high * 16 + low);
    }
    return key;
}

}  // namespace Thermolyx
