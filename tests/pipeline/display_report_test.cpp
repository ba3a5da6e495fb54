#include "pipeline/display_report.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace {

struct FrameCase {
    const char* name;
    SensorReadings readings;
    DisplayChoice choice;
    std::vector<int> bytes1To7;
    std::int32_t overlayTemperature;
    std::int32_t overlaySecond;
};

class ComposeDisplayFrameTest : public testing::TestWithParam<FrameCase> {};

TEST_P(ComposeDisplayFrameTest, BuildsReportAndOverlay) {
    const FrameCase& c = GetParam();
    const std::optional<DisplayFrame> frame = ComposeDisplayFrame(c.readings, c.choice);
    ASSERT_TRUE(frame.has_value());
    EXPECT_EQ(frame->report[0], 7);
    for (std::size_t i = 0; i < 7; ++i) {
        EXPECT_EQ(frame->report[i + 1], c.bytes1To7[i]) << "byte " << i + 1;
    }
    for (std::size_t i = 8; i < kDisplayReportSize; ++i) {
        EXPECT_EQ(frame->report[i], 0) << "byte " << i;
    }
    EXPECT_EQ(frame->temperature, c.overlayTemperature);
    EXPECT_EQ(frame->secondNumber, c.overlaySecond);
}

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

INSTANTIATE_TEST_SUITE_P(
    Readings, ComposeDisplayFrameTest,
    testing::Values(
        FrameCase{"AllZeroCelsiusPower", {0, 0, 0}, {0, 0}, {0, 0, 0, 0x00, 0, 0, 0}, 0, 0},
        FrameCase{"CelsiusPowerTruncates", {65.2f, 45.9f, 12.0f}, {0, 0}, {0, 4, 5, 0x00, 0, 6, 5}, 45, 65},
        FrameCase{"FahrenheitUsage", {80.0f, 45.9f, 37.5f}, {1, 1}, {1, 1, 3, 0x11, 0, 3, 7}, 113, 37},
        FrameCase{"FahrenheitOfTruncatedZeroStaysZero", {0, 0.4f, 0}, {1, 0}, {0, 0, 0, 0x01, 0, 0, 0}, 0, 0},
        FrameCase{"FahrenheitBody", {0, 37.0f, 0}, {1, 0}, {0, 9, 8, 0x01, 0, 0, 0}, 98, 0},
        FrameCase{"FahrenheitBoiling", {0, 100.0f, 0}, {1, 0}, {2, 1, 2, 0x01, 0, 0, 0}, 212, 0},
        FrameCase{"FahrenheitMinusForty", {0, -40.0f, 0}, {1, 0}, {0, 0xFC, 0, 0x01, 0, 0, 0}, -40, 0},
        FrameCase{"FahrenheitClampedTo999", {0, 600.0f, 0}, {1, 0}, {9, 9, 9, 0x01, 0, 0, 0}, 999, 0},
        FrameCase{"CelsiusClampedTo999", {0, 1234.0f, 0}, {0, 0}, {9, 9, 9, 0x00, 0, 0, 0}, 999, 0},
        FrameCase{"UsageClampedTo100", {0, 50.0f, 130.0f}, {0, 1}, {0, 5, 0, 0x10, 1, 0, 0}, 50, 100},
        FrameCase{"PowerJustBelowLimitIsSent", {998.9f, 50.0f, 0}, {0, 0}, {0, 5, 0, 0x00, 9, 9, 8}, 50, 998},
        FrameCase{"NegativeCelsiusKeepsSignInLowBits", {0, -5.0f, 0}, {0, 0}, {0, 0, 0xFB, 0x00, 0, 0, 0}, -5, 0},
        FrameCase{"NegativeUsageHasNoLowerClamp", {0, 0, -12.0f}, {0, 1}, {0, 0, 0, 0x10, 0, 0xFF, 0xFE}, 0, -12},
        FrameCase{"TempeTypeTwoIsCelsius", {0, 45.0f, 0}, {2, 0}, {0, 4, 5, 0x00, 0, 0, 0}, 45, 0},
        FrameCase{"AnyNonZeroDeviceTypeShowsUsage", {70.0f, 45.0f, 20.0f}, {0, -3}, {0, 4, 5, 0x10, 0, 2, 0}, 45, 20},
        // NaN becomes INT32_MIN: -2147483648 gives digits -6, -4, -8 (low bits FA FC F8).
        FrameCase{"NaNTemperature",
                  {0, kNaN, 0},
                  {0, 0},
                  {0xFA, 0xFC, 0xF8, 0x00, 0, 0, 0},
                  std::numeric_limits<std::int32_t>::min(),
                  0},
        FrameCase{"NaNUsageIsBelowTheClamp",
                  {0, 0, kNaN},
                  {0, 1},
                  {0, 0, 0, 0x10, 0xFA, 0xFC, 0xF8},
                  0,
                  std::numeric_limits<std::int32_t>::min()},
        FrameCase{"HugeNegativeTemperatureIsOutOfRange",
                  {0, -1e20f, 0},
                  {1, 0},
                  {0xFA, 0xFC, 0xF8, 0x01, 0, 0, 0},
                  std::numeric_limits<std::int32_t>::min(),
                  0}),
    [](const testing::TestParamInfo<FrameCase>& info) { return info.param.name; });

TEST(ComposeDisplayFrame, WithholdsEverythingWhilePowerReads999OrMore) {
    for (const float power : {999.0f, 999.5f, 5000.0f, 2147483520.0f}) {
        EXPECT_FALSE(ComposeDisplayFrame({power, 45.0f, 10.0f}, {0, 0}).has_value()) << power;
        EXPECT_FALSE(ComposeDisplayFrame({power, 45.0f, 10.0f}, {1, 1}).has_value()) << power;
    }
}

TEST(ComposeDisplayFrame, PowerWithoutAnIntegerValueIsNotWithheld) {
    // NaN and out-of-range power become INT32_MIN, which is below the 999 W limit.
    for (const float power : {kNaN, 1e12f, std::numeric_limits<float>::infinity()}) {
        const auto frame = ComposeDisplayFrame({power, 45.0f, 10.0f}, {0, 0});
        ASSERT_TRUE(frame.has_value()) << power;
        EXPECT_EQ(frame->secondNumber, std::numeric_limits<std::int32_t>::min());
    }
}

TEST(TruncateReading, TowardZeroWithOutOfRangeRule) {
    constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
    const struct {
        double in;
        std::int32_t out;
    } cases[] = {
        {45.9, 45},
        {-45.9, -45},
        {0.99, 0},
        {-0.99, 0},
        {2147483647.0, 2147483647},
        {2147483647.9, 2147483647},
        {2147483648.0, kMin},
        {-2147483648.0, kMin},
        {-2147483648.9, kMin},
        {-2147483649.0, kMin},
        {1e300, kMin},
        {-1e300, kMin},
        {std::nan(""), kMin},
        {std::numeric_limits<double>::infinity(), kMin},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TruncateReading(c.in), c.out) << c.in;
    }
}

TEST(CelsiusToFahrenheit, ZeroStaysZeroOthersConvertAndTruncate) {
    EXPECT_EQ(CelsiusToFahrenheit(0), 0);
    EXPECT_EQ(CelsiusToFahrenheit(1), 33);
    EXPECT_EQ(CelsiusToFahrenheit(-1), 30);  // 30.2
    EXPECT_EQ(CelsiusToFahrenheit(-18), 0);  // -0.4 truncates toward zero
    EXPECT_EQ(CelsiusToFahrenheit(45), 113);
    EXPECT_EQ(CelsiusToFahrenheit(std::numeric_limits<std::int32_t>::max()), std::numeric_limits<std::int32_t>::min());
}

}  // namespace
