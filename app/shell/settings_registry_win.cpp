#include "shell/settings_registry_win.h"

#include <string>

#include "base/product.h"
#include "base/win/handles.h"
#include "base/leading_integer.h"

using Thermolyx::ReadSettingIn;
using Thermolyx::SettingsKeyPath;
using Thermolyx::WriteSettingIn;

namespace {

// 255 bytes: a value of 127 characters or more does not fit and reads as 0.
constexpr DWORD kQueryBytes = 255;
constexpr std::size_t kBufferChars = 256;

LSTATUS OpenKey(const std::wstring& keyPath, Base::UniqueRegistryKey& key) {
    HKEY raw = nullptr;
    const LSTATUS status = ::RegOpenKeyExW(HKEY_CURRENT_USER, keyPath.c_str(), 0, KEY_ALL_ACCESS, &raw);
    key.Reset(status == ERROR_SUCCESS ? raw : nullptr);
    return status;
}

}  // namespace

namespace Thermolyx {

const std::wstring& SettingsKeyPath() {
    static const std::wstring path = std::wstring(L"SOFTWARE\\") + Base::kProductName;
    return path;
}

std::int32_t ReadSettingIn(const std::wstring& keyPath, const wchar_t* name) {
    Base::UniqueRegistryKey key;
    const LSTATUS status = OpenKey(keyPath, key);
    if (status == ERROR_FILE_NOT_FOUND) {
        HKEY created = nullptr;
        if (::RegCreateKeyExW(HKEY_CURRENT_USER, keyPath.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                              nullptr, &created, nullptr) == ERROR_SUCCESS) {
            Base::UniqueRegistryKey closeAtOnce(created);
        }
        return 0;
    }
    if (status != ERROR_SUCCESS) {
        return 0;
    }
    // Zero-filled and one character longer than the query may fill, so the text is
    // always terminated, whatever type the value has.
    wchar_t buffer[kBufferChars] = {};
    DWORD size = kQueryBytes;
    const LSTATUS query = ::RegQueryValueExW(key.Get(), name, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size);
    key.Reset();
    // After a value too large for the buffer its content is undefined: that reads as 0.
    if (query != ERROR_SUCCESS) {
        return 0;
    }
    return Base::ParseLeadingInteger(std::wstring_view(buffer));
}

void WriteSettingIn(const std::wstring& keyPath, const wchar_t* name, const wchar_t* text) {
    Base::UniqueRegistryKey key;
    if (OpenKey(keyPath, key) != ERROR_SUCCESS) {
        return;
    }
    // The stored length counts the terminating NUL.
    const DWORD bytes = static_cast<DWORD>((std::wstring_view(text).size() + 1) * sizeof(wchar_t));
    ::RegSetValueExW(key.Get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), bytes);
}

}  // namespace Thermolyx

std::int32_t ReadSetting(const wchar_t* name) { return ReadSettingIn(SettingsKeyPath(), name); }

void WriteSetting(const wchar_t* name, const wchar_t* text) { WriteSettingIn(SettingsKeyPath(), name, text); }
