#include "shell/settings.h"

namespace {

// 0 becomes 1; anything else, such as a hand-written 7, becomes 0.
std::int32_t ToggleZeroOne(SettingsStore& store, const wchar_t* name, std::int32_t value) {
    if (value != 0) {
        store.Write(name, L"0");
        return 0;
    }
    store.Write(name, L"1");
    return 1;
}

}  // namespace

SettingValues LoadSettings(SettingsStore& store) {
    SettingValues values;
    values.led_switch = store.Read(kLedSwitchName);
    if (values.led_switch == 0) {
        store.Write(kLedSwitchName, L"1");
        values.led_switch = 1;
    }
    values.device_type = store.Read(kDeviceTypeName);
    values.tempe_type = store.Read(kTempeTypeName);
    return values;
}

std::int32_t ToggleDeviceType(SettingsStore& store, std::int32_t device_type) {
    return ToggleZeroOne(store, kDeviceTypeName, device_type);
}

std::int32_t ToggleTempeType(SettingsStore& store, std::int32_t tempe_type) {
    return ToggleZeroOne(store, kTempeTypeName, tempe_type);
}

std::int32_t ToggleLedSwitch(SettingsStore& store, std::int32_t led_switch) {
    if (led_switch == 1) {
        store.Write(kLedSwitchName, L"2");
        return 2;
    }
    store.Write(kLedSwitchName, L"1");
    return 1;
}
