#include "sensor_values.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

std::string_view Trim(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

std::optional<float> ParseFloat(std::string_view text) {
    const std::string copy(Trim(text));
    if (copy.empty()) {
        return std::nullopt;
    }
    char* end = nullptr;
    const float value = std::strtof(copy.c_str(), &end);
    if (end != copy.c_str() + copy.size()) {
        return std::nullopt;
    }
    return value;
}

void CopyName(char (&field)[kSensorNameSize], const std::string& name) {
    std::memset(field, 0, kSensorNameSize);
    std::memcpy(field, name.data(), std::min(name.size(), kSensorNameSize - 1));
}

}  // namespace

PublishedValues ParseValuesFile(std::string_view text) {
    PublishedValues values;
    while (!text.empty()) {
        const auto newline = text.find('\n');
        const std::string_view line = text.substr(0, newline);
        text = newline == std::string_view::npos ? std::string_view{} : text.substr(newline + 1);

        const auto equals = line.find('=');
        if (equals == std::string_view::npos) {
            continue;
        }
        const std::string_view key = Trim(line.substr(0, equals));
        const std::string_view value = line.substr(equals + 1);
        if (key == "name1") {
            values.name1 = std::string(Trim(value));
            continue;
        }
        if (key == "name2") {
            values.name2 = std::string(Trim(value));
            continue;
        }
        float* target = key == "power"          ? &values.power
                        : key == "temperature"  ? &values.temperature
                        : key == "usage"        ? &values.usage
                        : key == "temperature1" ? &values.temperature1
                        : key == "temperature2" ? &values.temperature2
                                                : nullptr;
        if (target == nullptr) {
            continue;
        }
        if (const std::optional<float> number = ParseFloat(value)) {
            *target = *number;
        }
    }
    return values;
}

PublishedValues SyntheticValues(double seconds) {
    PublishedValues values;
    const double wave = std::sin(seconds / 30.0);
    values.temperature = static_cast<float>(45.0 + 10.0 * wave);
    values.power = static_cast<float>(40.0 + 20.0 * wave);
    values.usage = static_cast<float>(30.0 + 25.0 * wave);
    return values;
}

std::optional<CpuTimes> ParseCpuTimes(std::string_view procStat) {
    if (procStat.substr(0, 4) != "cpu ") {
        return std::nullopt;
    }
    std::vector<std::uint64_t> fields;
    std::string_view rest = procStat.substr(4, procStat.find('\n') - 4);
    while (true) {
        rest = rest.substr(std::min(rest.find_first_not_of(' '), rest.size()));
        if (rest.empty()) {
            break;
        }
        std::uint64_t value = 0;
        const auto [end, error] = std::from_chars(rest.data(), rest.data() + rest.size(), value);
        if (error != std::errc{}) {
            return std::nullopt;
        }
        fields.push_back(value);
        rest = rest.substr(static_cast<std::size_t>(end - rest.data()));
    }
    if (fields.size() < 4) {
        return std::nullopt;
    }
    CpuTimes times;
    for (std::size_t i = 0; i < fields.size() && i < 8; ++i) {
        times.total += fields[i];
    }
    // Idle and iowait (fields 4 and 5) are the time not busy.
    const std::uint64_t idle = fields[3] + (fields.size() > 4 ? fields[4] : 0);
    times.busy = times.total - idle;
    return times;
}

std::optional<float> UsageBetween(const CpuTimes& earlier, const CpuTimes& later) {
    if (later.total <= earlier.total || later.busy < earlier.busy) {
        return std::nullopt;
    }
    const double busy = static_cast<double>(later.busy - earlier.busy);
    const double total = static_cast<double>(later.total - earlier.total);
    return static_cast<float>(100.0 * busy / total);
}

std::optional<float> ParseMilliCelsius(std::string_view text) {
    const std::string_view trimmed = Trim(text);
    long value = 0;
    const auto [end, error] = std::from_chars(trimmed.data(), trimmed.data() + trimmed.size(), value);
    if (error != std::errc{} || end != trimmed.data() + trimmed.size()) {
        return std::nullopt;
    }
    return static_cast<float>(value) / 1000.0f;
}

std::optional<float> PowerBetween(std::uint64_t earlierMicrojoules, std::uint64_t laterMicrojoules, double seconds) {
    // The counter wraps; a sample across the wrap is skipped.
    if (seconds <= 0.0 || laterMicrojoules < earlierMicrojoules) {
        return std::nullopt;
    }
    return static_cast<float>(static_cast<double>(laterMicrojoules - earlierMicrojoules) / 1e6 / seconds);
}

void WriteToBlock(SensorBlock& block, const PublishedValues& values) {
    block.power = values.power;
    block.temperature = values.temperature;
    block.usage = values.usage;
    CopyName(block.name1, values.name1);
    block.temperature1 = values.temperature1;
    CopyName(block.name2, values.name2);
    block.temperature2 = values.temperature2;
}

bool AsksForDemo(std::wstring_view commandLine) {
    // Whole words only, so a folder called "x-demo" in the program's path does not count.
    std::size_t at = 0;
    while ((at = commandLine.find(L"-demo", at)) != std::wstring_view::npos) {
        const bool startsWord = at == 0 || commandLine[at - 1] == L' ' || commandLine[at - 1] == L'\t';
        const std::size_t end = at + 5;
        const bool endsWord = end == commandLine.size() || commandLine[end] == L' ' || commandLine[end] == L'\t';
        if (startsWord && endsWord) {
            return true;
        }
        at = end;
    }
    return false;
}

namespace {

const char* SourceName(ValueSource source) {
    switch (source) {
        case ValueSource::ValuesFile:
            return "the values file";
        case ValueSource::Demo:
            return "the demo curve";
        case ValueSource::HostFiles:
            return "the host's files";
        case ValueSource::SystemTimes:
            return "GetSystemTimes";
        case ValueSource::ThermalZone:
            return "the ACPI thermal zone (WMI)";
        case ValueSource::None:
            break;
    }
    return "nowhere (published as 0)";
}

}  // namespace

std::string DescribeSources(const ValueSources& sources) {
    return std::string("SensovoServer: temperature from ") + SourceName(sources.temperature) + "; power from " +
           SourceName(sources.power) + "; usage from " + SourceName(sources.usage);
}
