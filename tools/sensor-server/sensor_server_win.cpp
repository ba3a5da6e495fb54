// SensovoServer.exe: the stand-in sensor server. Creates or opens the sensor block
// and publishes readings once a second until it is stopped. Readings come from the
// values file beside it when present, from a curve only with the switch "-demo", and
// otherwise from what the machine gives without a driver: under Wine the Linux
// host's files through Z:, on Windows GetSystemTimes and the ACPI thermal zone. A
// value that cannot be read is published as 0; one line on the standard error
// stream says where each value comes from.
#include <windows.h>
#include <objbase.h>

#include <optional>
#include <string>

#include "base/error_line.h"
#include "base/win/handles.h"
#include "base/win/program_folder_win.h"
#include "sensor_values.h"
#include "thermal_zone_win.h"

namespace {

constexpr wchar_t kValuesFileName[] = L"SensovoValues.txt";
constexpr DWORD kPublishIntervalMs = 1000;
constexpr int kHwmonSearchLimit = 16;

std::optional<std::string> ReadWholeFile(const std::wstring& path) {
    Base::UniqueFileHandle file(::CreateFileW(path.c_str(), GENERIC_READ,
                                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return std::nullopt;
    }
    // Files under /proc report a size of 0, so read until the end instead.
    std::string content;
    char chunk[4096];
    DWORD got = 0;
    while (::ReadFile(file.Get(), chunk, sizeof(chunk), &got, nullptr) && got > 0) {
        content.append(chunk, got);
    }
    return content;
}

// The host's sensors, read through Wine's Z: drive.
class HostSensors {
public:
    // Fills what the host tells, and says where each value came from.
    ValueSources Sample(PublishedValues& values) {
        ValueSources sources;
        if (const auto temperature = ReadCpuTemperature()) {
            values.temperature = *temperature;
            sources.temperature = ValueSource::HostFiles;
        }
        if (const auto stat = ReadWholeFile(L"Z:\\proc\\stat")) {
            if (const auto times = ParseCpuTimes(*stat)) {
                sources.usage = ValueSource::HostFiles;
                if (lastTimes_) {
                    if (const auto usage = UsageBetween(*lastTimes_, *times)) {
                        values.usage = *usage;
                    }
                }
                lastTimes_ = times;
            }
        }
        if (const auto energy = ReadWholeFile(L"Z:\\sys\\class\\powercap\\intel-rapl:0\\energy_uj")) {
            sources.power = ValueSource::HostFiles;
            const DWORD now = ::GetTickCount();
            const std::uint64_t microjoules = std::strtoull(energy->c_str(), nullptr, 10);
            if (lastEnergy_) {
                if (const auto power = PowerBetween(*lastEnergy_, microjoules, (now - lastEnergyTick_) / 1000.0)) {
                    values.power = *power;
                }
            }
            lastEnergy_ = microjoules;
            lastEnergyTick_ = now;
        }
        return sources;
    }

private:
    static std::optional<float> ReadCpuTemperature() {
        for (int i = 0; i < kHwmonSearchLimit; ++i) {
            const std::wstring folder = L"Z:\\sys\\class\\hwmon\\hwmon" + std::to_wstring(i) + L"\\";
            const auto name = ReadWholeFile(folder + L"name");
            if (!name || (name->rfind("coretemp", 0) != 0 && name->rfind("k10temp", 0) != 0 &&
                          name->rfind("zenpower", 0) != 0)) {
                continue;
            }
            if (const auto text = ReadWholeFile(folder + L"temp1_input")) {
                return ParseMilliCelsius(*text);
            }
        }
        return std::nullopt;
    }

    std::optional<CpuTimes> lastTimes_;
    std::optional<std::uint64_t> lastEnergy_;
    DWORD lastEnergyTick_ = 0;
};

std::uint64_t Ticks(const FILETIME& time) {
    return (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

// What Windows gives without a driver: usage from the system times, the temperature
// from the ACPI thermal zone where the firmware has one. Power needs a driver.
class WindowsSensors {
public:
    ValueSources Sample(PublishedValues& values) {
        ValueSources sources;
        FILETIME idle = {};
        FILETIME kernel = {};
        FILETIME user = {};
        if (::GetSystemTimes(&idle, &kernel, &user)) {
            sources.usage = ValueSource::SystemTimes;
            // Kernel time includes idle time.
            const CpuTimes times{Ticks(kernel) + Ticks(user) - Ticks(idle), Ticks(kernel) + Ticks(user)};
            if (lastTimes_) {
                if (const auto usage = UsageBetween(*lastTimes_, times)) {
                    values.usage = *usage;
                }
            }
            lastTimes_ = times;
        }
        if (const auto temperature = ReadAcpiThermalZoneCelsius()) {
            values.temperature = *temperature;
            sources.temperature = ValueSource::ThermalZone;
        }
        return sources;
    }

private:
    std::optional<CpuTimes> lastTimes_;
};

bool RunsUnderWine() { return ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr; }

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int) {
    Base::UniqueHandle mapping(
        ::CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kSensorBlockSize, kSensorBlockName));
    if (!mapping) {
        return 1;
    }
    void* view = ::MapViewOfFile(mapping.Get(), FILE_MAP_WRITE, 0, 0, kSensorBlockSize);
    if (view == nullptr) {
        return 1;
    }
    Base::UniqueMappedView viewOwner(view);
    auto& block = *static_cast<SensorBlock*>(view);
    // WMI for the thermal zone; the server never uninitialises, it runs until ended.
    ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);

    const bool demo = AsksForDemo(commandLine);
    const bool underWine = RunsUnderWine();
    const std::wstring valuesPath = Base::ProgramFolder() + kValuesFileName;
    const DWORD started = ::GetTickCount();
    HostSensors host;
    WindowsSensors windows;
    bool described = false;
    while (true) {
        PublishedValues values;
        ValueSources sources;
        if (const auto text = ReadWholeFile(valuesPath)) {
            values = ParseValuesFile(*text);
            sources = {ValueSource::ValuesFile, ValueSource::ValuesFile, ValueSource::ValuesFile};
        } else if (demo) {
            values = SyntheticValues((::GetTickCount() - started) / 1000.0);
            sources = {ValueSource::Demo, ValueSource::Demo, ValueSource::Demo};
        } else {
            sources = underWine ? host.Sample(values) : windows.Sample(values);
        }
        WriteToBlock(block, values);
        if (!described) {
            Base::WriteErrorLine(DescribeSources(sources));
            described = true;
        }
        ::Sleep(kPublishIntervalMs);
    }
}
