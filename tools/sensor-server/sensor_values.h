#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "pipeline/sensor_block.h"

// What the stand-in server publishes in one update.
struct PublishedValues {
    float power = 0.0f;
    float temperature = 0.0f;
    float usage = 0.0f;
    std::string name1;
    float temperature1 = 0.0f;
    std::string name2;
    float temperature2 = 0.0f;
};

// The values file: one "key=value" a line, keys power, temperature, usage, name1,
// temperature1, name2, temperature2; numbers as strtof reads them ("nan", "1e9"
// included). A line that does not parse is passed over, so a half-written file
// still publishes what it has.
PublishedValues ParseValuesFile(std::string_view text);

// A slow, gentle curve, published only when asked for (the demo switch): on a real
// machine it would show temperatures that never happened.
PublishedValues SyntheticValues(double seconds);

// Whether the server's command line holds the switch "-demo".
bool AsksForDemo(std::wstring_view commandLine);

// Where a published value comes from; one that cannot be read is published as 0.
enum class ValueSource {
    ValuesFile,
    Demo,
    HostFiles,    // the Linux host's /proc and /sys files, under Wine through Z:
    SystemTimes,  // GetSystemTimes
    ThermalZone,  // the ACPI thermal zone through WMI
    None,
};
struct ValueSources {
    ValueSource temperature = ValueSource::None;
    ValueSource power = ValueSource::None;
    ValueSource usage = ValueSource::None;
};
// The one line the server writes to the standard error stream at start.
std::string DescribeSources(const ValueSources& sources);

// Busy and total jiffies from the first line of /proc/stat.
struct CpuTimes {
    std::uint64_t busy = 0;
    std::uint64_t total = 0;
};
std::optional<CpuTimes> ParseCpuTimes(std::string_view procStat);
// Usage in percent between two samples; nothing when no time passed.
std::optional<float> UsageBetween(const CpuTimes& earlier, const CpuTimes& later);
// A hwmon temperature file holds millidegrees Celsius.
std::optional<float> ParseMilliCelsius(std::string_view text);
// Watts from two readings of a RAPL energy counter (microjoules).
std::optional<float> PowerBetween(std::uint64_t earlierMicrojoules, std::uint64_t laterMicrojoules, double seconds);

// Writes the values at their offsets; names are cut to keep their NUL in the field.
void WriteToBlock(SensorBlock& block, const PublishedValues& values);
