#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "pipeline/sensor_block.h"

inline constexpr std::size_t kDisplayReportSize = 64;
inline constexpr std::uint8_t kDisplayReportId = 7;
inline constexpr std::uint8_t kFahrenheitFlag = 0x01;
inline constexpr std::uint8_t kUsageRateFlag = 0x10;

// The bytes the display takes as one feature report (report id in byte 0).
using DisplayReport = std::array<std::uint8_t, kDisplayReportSize>;

// What one tick shows: the report and the two numbers of the readings overlay.
struct DisplayFrame {
    DisplayReport report{};
    std::int32_t temperature = 0;
    std::int32_t secondNumber = 0;
};

// The user's choices, as stored in the settings: tempe_type 1 is Fahrenheit (else
// Celsius); device_type 0 shows the power (else the usage rate).
struct DisplayChoice {
    std::int32_t tempeType = 0;
    std::int32_t deviceType = 0;
};

// Truncation toward zero. NaN and values outside the int32 range have no integer
// value, so they become INT32_MIN instead of undefined behaviour.
std::int32_t TruncateReading(double value);

// 0 stays 0 (a block nobody wrote shows 0, not 32); otherwise v * 1.8 + 32, truncated.
std::int32_t CelsiusToFahrenheit(std::int32_t celsius);

// Nothing is shown while the power reads 999 W or more.
std::optional<DisplayFrame> ComposeDisplayFrame(const SensorReadings& readings, DisplayChoice choice);
