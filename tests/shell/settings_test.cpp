#include "shell/settings.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "base/leading_integer.h"

namespace {

using testing::ElementsAre;

// Values in memory, and a log of the reads and writes in order.
class MemoryStore : public SettingsStore {
public:
    std::int32_t Read(const wchar_t* name) override {
        log.push_back(L"read " + std::wstring(name));
        const auto value = values.find(name);
        return value != values.end() ? Base::ParseLeadingInteger(value->second) : 0;
    }
    void Write(const wchar_t* name, const wchar_t* text) override {
        log.push_back(L"write " + std::wstring(name) + L"=" + text);
        values[name] = text;
    }

    std::map<std::wstring, std::wstring> values;
    std::vector<std::wstring> log;
};

TEST(LoadSettings, ReadsTheLightFirstAndTurnsItOnWhenUnset) {
    MemoryStore store;
    const SettingValues values = LoadSettings(store);
    EXPECT_THAT(store.log,
                ElementsAre(L"read led_switch", L"write led_switch=1", L"read device_type", L"read tempe_type"));
    EXPECT_EQ(values.led_switch, 1);
    EXPECT_EQ(values.device_type, 0);
    EXPECT_EQ(values.tempe_type, 0);
}

TEST(LoadSettings, TakesStoredValuesAsTheyRead) {
    const struct {
        std::wstring led, device, tempe;
        SettingValues expected;
        bool rewritesLight;
    } cases[] = {
        {L"2", L"1", L"1", {2, 1, 1}, false},
        {L"0", L"7", L" 1", {1, 7, 1}, true},
        {L"x", L"-3", L"x1", {1, -3, 0}, true},
        {L"5", L"0", L"0", {5, 0, 0}, false},
    };
    for (const auto& c : cases) {
        MemoryStore store;
        store.values = {{L"led_switch", c.led}, {L"device_type", c.device}, {L"tempe_type", c.tempe}};
        const SettingValues values = LoadSettings(store);
        EXPECT_EQ(values.led_switch, c.expected.led_switch) << c.led;
        EXPECT_EQ(values.device_type, c.expected.device_type) << c.device;
        EXPECT_EQ(values.tempe_type, c.expected.tempe_type) << c.tempe;
        EXPECT_EQ(store.values[L"led_switch"], c.rewritesLight ? L"1" : c.led);
    }
}

TEST(Toggles, WriteTheNewValueAsText) {
    const struct {
        std::int32_t (*toggle)(SettingsStore&, std::int32_t);
        std::int32_t before;
        std::int32_t after;
        const wchar_t* write;
    } cases[] = {
        {ToggleDeviceType, 0, 1, L"write device_type=1"}, {ToggleDeviceType, 1, 0, L"write device_type=0"},
        {ToggleDeviceType, 7, 0, L"write device_type=0"}, {ToggleDeviceType, -3, 0, L"write device_type=0"},
        {ToggleTempeType, 0, 1, L"write tempe_type=1"},   {ToggleTempeType, 1, 0, L"write tempe_type=0"},
        {ToggleLedSwitch, 1, 2, L"write led_switch=2"},   {ToggleLedSwitch, 2, 1, L"write led_switch=1"},
        {ToggleLedSwitch, 0, 1, L"write led_switch=1"},   {ToggleLedSwitch, 5, 1, L"write led_switch=1"},
    };
    for (const auto& c : cases) {
        MemoryStore store;
        EXPECT_EQ(c.toggle(store, c.before), c.after) << c.write << " from " << c.before;
        EXPECT_THAT(store.log, ElementsAre(c.write));
    }
}

}  // namespace
