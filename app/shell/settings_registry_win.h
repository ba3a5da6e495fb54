#pragma once

#include <cstdint>
#include <string>
#include <utility>

#include "shell/settings.h"

// The settings in HKEY_CURRENT_USER\SOFTWARE\Caloryn, as decimal integers in REG_SZ
// values. Failures read as 0 and write nothing, without a word.

// The value's leading integer, or 0. The only place that creates the key: a read
// that finds it missing creates it.
std::int32_t ReadSetting(const wchar_t* name);

// Stores `text` as the REG_SZ value `name`; nothing when the key cannot be opened.
void WriteSetting(const wchar_t* name, const wchar_t* text);

namespace Thermolyx {

// "SOFTWARE\Caloryn": the program's key below HKEY_CURRENT_USER.
const std::wstring& SettingsKeyPath();

// The same in another key below HKEY_CURRENT_USER, so the tests work in a key of their
// own and never touch the settings of whoever runs them.
std::int32_t ReadSettingIn(const std::wstring& keyPath, const wchar_t* name);
void WriteSettingIn(const std::wstring& keyPath, const wchar_t* name, const wchar_t* text);

class RegistrySettings : public SettingsStore {
public:
    RegistrySettings() : RegistrySettings(SettingsKeyPath()) {}
    explicit RegistrySettings(std::wstring keyPath) : keyPath_(std::move(keyPath)) {}

    std::int32_t Read(const wchar_t* name) override { return ReadSettingIn(keyPath_, name); }
    void Write(const wchar_t* name, const wchar_t* text) override { WriteSettingIn(keyPath_, name, text); }

private:
    std::wstring keyPath_;
};

}  // namespace Thermolyx
