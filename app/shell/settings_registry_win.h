#pragma once

#include <cstdint>

#include "shell/settings.h"

// The settings in HKEY_CURRENT_USER\SOFTWARE\Caloryn, as decimal integers in REG_SZ
// values. Failures read as 0 and write nothing, without a word.

// The value's leading integer, or 0. The only place that creates the key: a read
// that finds it missing creates it.
std::int32_t ReadSetting(const wchar_t* name);

// Stores `text` as the REG_SZ value `name`; nothing when the key cannot be opened.
void WriteSetting(const wchar_t* name, const wchar_t* text);

namespace Thermolyx {

class RegistrySettings : public SettingsStore {
public:
    std::int32_t Read(const wchar_t* name) override { return ReadSetting(name); }
    void Write(const wchar_t* name, const wchar_t* text) override { WriteSetting(name, text); }
};

}  // namespace Thermolyx
