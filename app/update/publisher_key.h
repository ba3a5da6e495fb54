#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace Thermolyx {

// The distributor's ECDSA P-256 public key: the point's X and Y, 32 bytes each, big-endian.
using PublisherKey = std::array<std::uint8_t, 64>;

// A package's detached signature: r and s, 32 bytes each, big-endian.
inline constexpr std::size_t kPackageSignatureSize = 64;

// From hex digits (either case): X then Y (128 digits), or the uncompressed point as
// key tools print it, "04" then X and Y (130 digits). Nothing for anything else.
std::optional<PublisherKey> ParsePublisherKey(std::string_view hex);

}  // namespace Thermolyx
