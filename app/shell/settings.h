#pragma once

#include <cstdint>

namespace Thermolyx {

// The three registry values behind the user's choices.
inline constexpr wchar_t kLedSwitchName[] = L"led_switch";    // 1 light on, 2 off
inline constexpr wchar_t kDeviceTypeName[] = L"device_type";  // 0 power, else usage rate
inline constexpr wchar_t kTempeTypeName[] = L"tempe_type";    // 0 Celsius, else Fahrenheit

// Where the values live: the registry in the program, memory in tests.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // The value's leading integer, 0 when absent or not a number.
    virtual std::int32_t Read(const wchar_t* name) = 0;
    virtual void Write(const wchar_t* name, const wchar_t* text) = 0;
};

struct SettingValues {
    std::int32_t led_switch = 1;
    std::int32_t device_type = 0;
    std::int32_t tempe_type = 0;
};

// The main window's start-up reads: "led_switch" first, which creates the key on a
// clean profile, so the "1" written for a light setting of 0 finds the key.
SettingValues LoadSettings(SettingsStore& store);

// The switches: each writes and returns the new value.
std::int32_t ToggleDeviceType(SettingsStore& store, std::int32_t device_type);
std::int32_t ToggleTempeType(SettingsStore& store, std::int32_t tempe_type);
std::int32_t ToggleLedSwitch(SettingsStore& store, std::int32_t led_switch);

}  // namespace Thermolyx
