// SensovoServer.exe: the stand-in sensor server. Creates or opens the sensor block
// and publishes readings once a second until it is stopped. Readings come from the
// values file beside it when present, else from the host's sensors where they can
// be read (under Wine the Linux files are reachable through Z:), else from a curve.
#include <windows.h>

#include <optional>
#include <string>

#include "base/win/handles.h"
#include "base/win/program_folder_win.h"
#include "sensor_values.h"

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
    // Fills what the host tells; the rest keeps the values given.
    void Sample(PublishedValues& values) {
        if (const auto temperature = ReadCpuTemperature()) {
            values.temperature = *temperature;
        }
        if (const auto stat = ReadWholeFile(L"Z:\\proc\\stat")) {
            if (const auto times = ParseCpuTimes(*stat)) {
                if (lastTimes_) {
                    if (const auto usage = UsageBetween(*lastTimes_, *times)) {
                        values.usage = *usage;
                    }
                }
                lastTimes_ = times;
            }
        }
        if (const auto energy = ReadWholeFile(L"Z:\\sys\\class\\powercap\\intel-rapl:0\\energy_uj")) {
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

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
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

    const std::wstring valuesPath = Base::ProgramFolder() + kValuesFileName;
    const DWORD started = ::GetTickCount();
    HostSensors host;
    while (true) {
        PublishedValues values;
        if (const auto text = ReadWholeFile(valuesPath)) {
            values = ParseValuesFile(*text);
        } else {
            values = SyntheticValues((::GetTickCount() - started) / 1000.0);
            host.Sample(values);
        }
        WriteToBlock(block, values);
        ::Sleep(kPublishIntervalMs);
    }
}
