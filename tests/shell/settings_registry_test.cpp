#include "shell/settings_registry_win.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "base/win/handles.h"

using Thermolyx::LoadSettings;
using Thermolyx::ReadSettingIn;
using Thermolyx::RegistrySettings;
using Thermolyx::SettingsKeyPath;
using Thermolyx::SettingsStore;
using Thermolyx::SettingValues;
using Thermolyx::ToggleDeviceType;
using Thermolyx::ToggleLedSwitch;
using Thermolyx::ToggleTempeType;
using Thermolyx::WriteSettingIn;

namespace {

// A key of the tests' own: the suite never reads or changes the settings of whoever
// runs it, on Wine or on a real machine.
constexpr wchar_t kKey[] = L"SOFTWARE\\Thermolyx settings test";

struct StoredValue {
    DWORD type = REG_NONE;
    std::wstring text;  // the bytes up to the first NUL
    DWORD bytes = 0;
};

// Each test starts from a clean profile and leaves one behind.
class SettingsRegistry : public testing::Test {
protected:
    void SetUp() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, kKey); }
    void TearDown() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, kKey); }

    static bool KeyExists() {
        HKEY key = nullptr;
        const bool exists = ::RegOpenKeyExW(HKEY_CURRENT_USER, kKey, 0, KEY_READ, &key) == ERROR_SUCCESS;
        Base::UniqueRegistryKey owner(key);
        return exists;
    }

    static void Store(const wchar_t* name, DWORD type, const void* data, DWORD bytes) {
        HKEY key = nullptr;
        ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        Base::UniqueRegistryKey owner(key);
        ASSERT_EQ(::RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), bytes), ERROR_SUCCESS);
    }

    static void StoreText(const wchar_t* name, const std::wstring& text) {
        Store(name, REG_SZ, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    }

    static std::optional<StoredValue> Stored(const wchar_t* name) {
        wchar_t data[512] = {};
        StoredValue value;
        value.bytes = sizeof(data) - sizeof(wchar_t);
        if (::RegGetValueW(HKEY_CURRENT_USER, kKey, name, RRF_RT_ANY | RRF_NOEXPAND, &value.type, data, &value.bytes) !=
            ERROR_SUCCESS) {
            return std::nullopt;
        }
        value.text = data;
        return value;
    }
};

TEST(SettingsRegistryKey, TheProgramKeepsItsKeyAndTheTestsUseAnother) {
    EXPECT_EQ(SettingsKeyPath(), L"SOFTWARE\\Caloryn");
    EXPECT_NE(SettingsKeyPath(), kKey);
}

TEST_F(SettingsRegistry, FirstReadOnACleanProfileCreatesTheEmptyKey) {
    EXPECT_EQ(ReadSettingIn(kKey, L"led_switch"), 0);
    EXPECT_TRUE(KeyExists());
    EXPECT_FALSE(Stored(L"led_switch"));
    // A missing value in an existing key reads 0 as well.
    EXPECT_EQ(ReadSettingIn(kKey, L"tempe_type"), 0);
}

TEST_F(SettingsRegistry, ReadsTheLeadingIntegerOfTheStoredText) {
    const struct {
        std::wstring text;
        std::int32_t value;
    } cases[] = {
        {L"1", 1},
        {L" 1", 1},
        {L"x1", 0},
        {L"7", 7},
        {L"-3", -3},
        {L"", 0},
        // 126 characters and the NUL fill 254 bytes, within the 255-byte query.
        {L"7" + std::wstring(125, L'x'), 7},
        // From 127 characters on the value no longer fits and reads as 0.
        {L"7" + std::wstring(126, L'x'), 0},
        {std::wstring(200, L'1'), 0},
    };
    for (const auto& c : cases) {
        StoreText(L"tempe_type", c.text);
        EXPECT_EQ(ReadSettingIn(kKey, L"tempe_type"), c.value) << "text of " << c.text.size() << " characters";
    }
}

// Another type is read as its raw bytes taken as text.
TEST_F(SettingsRegistry, ReadsOtherTypesAsRawText) {
    const DWORD one = 1;
    Store(L"device_type", REG_DWORD, &one, sizeof(one));
    EXPECT_EQ(ReadSettingIn(kKey, L"device_type"), 0);
    const DWORD seven = L'7';  // the bytes 37 00 00 00 are the text "7"
    Store(L"device_type", REG_DWORD, &seven, sizeof(seven));
    EXPECT_EQ(ReadSettingIn(kKey, L"device_type"), 7);
}

TEST_F(SettingsRegistry, WritesTextWithItsTerminatorCounted) {
    ReadSettingIn(kKey, L"led_switch");
    WriteSettingIn(kKey, L"device_type", L"1");
    WriteSettingIn(kKey, L"tempe_type", L"12345");
    const auto deviceType = Stored(L"device_type");
    ASSERT_TRUE(deviceType);
    EXPECT_EQ(deviceType->type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(deviceType->text, L"1");
    EXPECT_EQ(deviceType->bytes, 4u);
    EXPECT_EQ(Stored(L"tempe_type")->bytes, 12u);
    EXPECT_EQ(ReadSettingIn(kKey, L"tempe_type"), 12345);
}

TEST_F(SettingsRegistry, WriteWithoutTheKeyDoesNothing) {
    WriteSettingIn(kKey, L"led_switch", L"1");
    EXPECT_FALSE(KeyExists());
}

TEST_F(SettingsRegistry, StartUpOnACleanProfileTurnsTheLightOn) {
    RegistrySettings store{kKey};
    const SettingValues values = LoadSettings(store);
    EXPECT_EQ(values.led_switch, 1);
    EXPECT_EQ(values.device_type, 0);
    EXPECT_EQ(values.tempe_type, 0);
    const auto light = Stored(L"led_switch");
    ASSERT_TRUE(light);
    EXPECT_EQ(light->type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(light->text, L"1");
    EXPECT_FALSE(Stored(L"device_type"));
    EXPECT_FALSE(Stored(L"tempe_type"));
}

TEST_F(SettingsRegistry, StartUpKeepsStoredChoicesAndRepairsALightOfZero) {
    StoreText(L"led_switch", L"0");
    StoreText(L"device_type", L"7");
    StoreText(L"tempe_type", L" 1");
    RegistrySettings store{kKey};
    const SettingValues values = LoadSettings(store);
    EXPECT_EQ(values.led_switch, 1);
    EXPECT_EQ(values.device_type, 7);
    EXPECT_EQ(values.tempe_type, 1);
    EXPECT_EQ(Stored(L"led_switch")->text, L"1");
    EXPECT_EQ(Stored(L"tempe_type")->text, L" 1");  // read, never rewritten
}

TEST_F(SettingsRegistry, EachToggleWritesItsText) {
    const struct {
        std::int32_t (*toggle)(SettingsStore&, std::int32_t);
        const wchar_t* name;
        std::int32_t before;
        std::int32_t after;
        const wchar_t* text;
    } cases[] = {
        {ToggleDeviceType, L"device_type", 0, 1, L"1"}, {ToggleDeviceType, L"device_type", 1, 0, L"0"},
        {ToggleDeviceType, L"device_type", 7, 0, L"0"}, {ToggleTempeType, L"tempe_type", 0, 1, L"1"},
        {ToggleTempeType, L"tempe_type", 1, 0, L"0"},   {ToggleLedSwitch, L"led_switch", 1, 2, L"2"},
        {ToggleLedSwitch, L"led_switch", 2, 1, L"1"},   {ToggleLedSwitch, L"led_switch", 0, 1, L"1"},
    };
    RegistrySettings store{kKey};
    LoadSettings(store);
    for (const auto& c : cases) {
        EXPECT_EQ(c.toggle(store, c.before), c.after) << c.name << " from " << c.before;
        const auto stored = Stored(c.name);
        ASSERT_TRUE(stored) << c.name;
        EXPECT_EQ(stored->type, static_cast<DWORD>(REG_SZ));
        EXPECT_EQ(stored->text, c.text) << c.name << " from " << c.before;
    }
}

}  // namespace
