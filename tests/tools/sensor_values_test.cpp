#include "sensor_values.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace {

TEST(ParseValuesFile, ReadsEveryKeyAndPassesOverBadLines) {
    const PublishedValues values = ParseValuesFile(
        "power = 65.2\r\n"
        "temperature=nan\n"
        "usage=abc\n"  // not a number: passed over
        "usage=37.5\n"
        "bogus=1\n"
        "no equals sign\n"
        "name1=  Package id 0 \n"
        "temperature1=51\n"
        "name2=\n"
        "temperature2=-4.5");
    EXPECT_FLOAT_EQ(values.power, 65.2f);
    EXPECT_TRUE(std::isnan(values.temperature));
    EXPECT_FLOAT_EQ(values.usage, 37.5f);
    EXPECT_EQ(values.name1, "Package id 0");
    EXPECT_FLOAT_EQ(values.temperature1, 51.0f);
    EXPECT_EQ(values.name2, "");
    EXPECT_FLOAT_EQ(values.temperature2, -4.5f);
}

TEST(ParseValuesFile, EmptyFilePublishesZeros) {
    const PublishedValues values = ParseValuesFile("");
    EXPECT_EQ(values.power, 0.0f);
    EXPECT_EQ(values.temperature, 0.0f);
    EXPECT_EQ(values.usage, 0.0f);
}

TEST(WriteToBlock, NamesKeepTheirTerminatorInsideTheField) {
    SensorBlock block;
    std::memset(&block, 0xAB, sizeof(block));
    PublishedValues values;
    values.power = 999.0f;
    values.name1 = std::string(300, 'x');
    values.name2 = "GPU";
    WriteToBlock(block, values);
    EXPECT_EQ(block.power, 999.0f);
    EXPECT_EQ(std::strlen(block.name1), kSensorNameSize - 1);
    EXPECT_STREQ(block.name2, "GPU");
    EXPECT_EQ(block.name2[kSensorNameSize - 1], '\0');
    EXPECT_EQ(block.serverArea0[0], 0xAB);  // the server's own bytes are left alone
}

TEST(HostSensors, ParsesProcStatHwmonAndRapl) {
    const auto earlier = ParseCpuTimes("cpu  100 0 100 700 100 0 0 0 0 0\ncpu0 1 2 3 4\n");
    const auto later = ParseCpuTimes("cpu  200 0 200 800 100 0 0 0 0 0\n");
    ASSERT_TRUE(earlier && later);
    EXPECT_EQ(earlier->total, 1000u);
    EXPECT_EQ(earlier->busy, 200u);
    EXPECT_FLOAT_EQ(*UsageBetween(*earlier, *later), 200.0f / 3.0f);
    EXPECT_FALSE(UsageBetween(*later, *later).has_value());
    EXPECT_FALSE(ParseCpuTimes("intr 1 2 3").has_value());
    EXPECT_FALSE(ParseCpuTimes("cpu  1 x").has_value());

    EXPECT_FLOAT_EQ(*ParseMilliCelsius("45875\n"), 45.875f);
    EXPECT_FALSE(ParseMilliCelsius("hot").has_value());

    EXPECT_FLOAT_EQ(*PowerBetween(1000000, 66000000, 1.0), 65.0f);
    EXPECT_FALSE(PowerBetween(66000000, 1000, 1.0).has_value());  // the counter wrapped
    EXPECT_FALSE(PowerBetween(0, 1, 0.0).has_value());
}

TEST(SyntheticValues, StaysInAPlausibleRange) {
    for (double t = 0; t < 600; t += 7) {
        const PublishedValues values = SyntheticValues(t);
        EXPECT_GT(values.usage, 0.0f);  // the server watch takes 0 as "no readings"
        EXPECT_LE(values.usage, 100.0f);
        EXPECT_LT(values.power, 999.0f);
        EXPECT_GT(values.temperature, 20.0f);
    }
}

TEST(AsksForDemo, OnlyTheWholeSwitch) {
    const struct {
        const wchar_t* commandLine;
        bool demo;
    } cases[] = {
        {L"", false},
        {L"-demo", true},
        {L"\"C:\\x\\SensovoServer.exe\" -demo", true},
        {L"-demo -other", true},
        {L"\"C:\\my-demo\\SensovoServer.exe\"", false},
        {L"-demonstration", false},
        {L"-DEMO", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(AsksForDemo(c.commandLine), c.demo) << testing::PrintToString(std::wstring(c.commandLine));
    }
}

TEST(DescribeSources, NamesEachValuesSourceOnOneLine) {
    EXPECT_EQ(DescribeSources({ValueSource::ThermalZone, ValueSource::None, ValueSource::SystemTimes}),
              "SensovoServer: temperature from the ACPI thermal zone (WMI); power from nowhere (published as 0); "
              "usage from GetSystemTimes");
    EXPECT_EQ(DescribeSources({ValueSource::Demo, ValueSource::Demo, ValueSource::Demo}),
              "SensovoServer: temperature from the demo curve; power from the demo curve; usage from the demo curve");
}

}  // namespace
