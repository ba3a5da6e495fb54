#include "pipeline/display_report.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr std::int32_t kMaxTemperature = 999;
constexpr std::int32_t kMaxUsage = 100;
constexpr std::int32_t kPowerWithheld = 999;

// Digits keep the sign of the dividend (C++ division), and each byte takes the
// digit's low 8 bits: -5 gives 0, 0, 0xFB.
void PutDigits(DisplayReport& report, std::size_t at, std::int32_t value) {
    report[at] = static_cast<std::uint8_t>((value / 100) % 10);
    report[at + 1] = static_cast<std::uint8_t>((value / 10) % 10);
    report[at + 2] = static_cast<std::uint8_t>(value % 10);
}

}  // namespace

std::int32_t TruncateReading(double value) {
    constexpr double kLowest = std::numeric_limits<std::int32_t>::min();
    constexpr double kBeyondHighest = 2147483648.0;
    const double truncated = std::trunc(value);
    if (!(truncated >= kLowest && truncated < kBeyondHighest)) {
        return std::numeric_limits<std::int32_t>::min();
    }
    return static_cast<std::int32_t>(truncated);
}

std::int32_t CelsiusToFahrenheit(std::int32_t celsius) {
    if (celsius == 0) {
        return 0;
    }
    return TruncateReading(celsius * 1.8 + 32.0);
}

std::optional<DisplayFrame> ComposeDisplayFrame(const SensorReadings& readings, DisplayChoice choice) {
    const std::int32_t power = TruncateReading(readings.power);
    std::int32_t temperature = TruncateReading(readings.temperature);
    std::int32_t usage = TruncateReading(readings.usage);

    const bool fahrenheit = choice.tempeType == 1;
    if (fahrenheit) {
        temperature = CelsiusToFahrenheit(temperature);
    }
    temperature = std::min(temperature, kMaxTemperature);
    usage = std::min(usage, kMaxUsage);
    if (power >= kPowerWithheld) {
        return std::nullopt;
    }

    const bool showsUsage = choice.deviceType != 0;
    DisplayFrame frame;
    frame.temperature = temperature;
    frame.secondNumber = showsUsage ? usage : power;
    frame.report[0] = kDisplayReportId;
    PutDigits(frame.report, 1, temperature);
    frame.report[4] = static_cast<std::uint8_t>((fahrenheit ? kFahrenheitFlag : 0) | (showsUsage ? kUsageRateFlag : 0));
    PutDigits(frame.report, 5, frame.secondNumber);
    return frame;
}
