#pragma once

#include <cstdint>

// The display on the USB bus.
inline constexpr std::int32_t kDisplayVendorId = 0x1A2C;
inline constexpr std::int32_t kDisplayProductId = 0x4984;
// Only the display's vendor-defined collection takes reports.
inline constexpr unsigned short kDisplayUsagePage = 0xFF01;
inline constexpr unsigned short kDisplayUsage = 0x0001;
