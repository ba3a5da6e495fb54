#include "core/overlay_layout.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using Orvik::CRect;

struct BoxCase {
    int clientWidth;
    CRect temperature;
    CRect power;
};

class ReadingBoxesTest : public testing::TestWithParam<BoxCase> {};

TEST_P(ReadingBoxesTest, PlacedFromHalfTheWidthTruncated) {
    EXPECT_EQ(Orvik::TemperatureBox(GetParam().clientWidth), GetParam().temperature);
    EXPECT_EQ(Orvik::PowerBox(GetParam().clientWidth), GetParam().power);
}

INSTANTIATE_TEST_SUITE_P(Table, ReadingBoxesTest,
                         testing::Values(BoxCase{320, {5, 85, 125, 145}, {195, 85, 345, 145}},
                                         BoxCase{321, {5, 85, 125, 145}, {195, 85, 345, 145}},
                                         BoxCase{400, {45, 85, 165, 145}, {235, 85, 385, 145}}));

TEST(ReadingText, DropsTheFractionTowardZero) {
    EXPECT_EQ(Orvik::ReadingText(45.9f), L"45");
    EXPECT_EQ(Orvik::ReadingText(65.99f), L"65");
    EXPECT_EQ(Orvik::ReadingText(-0.5f), L"0");
    EXPECT_EQ(Orvik::ReadingText(-7.9f), L"-7");
    EXPECT_EQ(Orvik::ReadingText(std::nanf("")), L"0");
    EXPECT_EQ(Orvik::ReadingText(1e20f), L"2147483647");
}

TEST(MessagePanelLayout, TextAloneThenCaptionTrackAndBar) {
    const CRect panel{10, 100, 310, 160};
    const Orvik::MessagePanelLayout start = Orvik::LayOutMessagePanel(panel, 0);
    EXPECT_EQ(start.frame, panel);
    EXPECT_EQ(start.inside, (CRect{12, 102, 308, 158}));
    EXPECT_EQ(start.textBox, (CRect{15, 105, 205, 155}));
    EXPECT_TRUE(start.bar.IsEmpty());

    const Orvik::MessagePanelLayout half = Orvik::LayOutMessagePanel(panel, 50);
    EXPECT_EQ(half.captionBox, (CRect{15, 105, 305, 135}));
    EXPECT_EQ(half.trackFrom, (Orvik::CPoint{20, 145}));
    EXPECT_EQ(half.trackTo, (Orvik::CPoint{290, 145}));
    EXPECT_EQ(half.bar, (CRect{20, 144, 160, 147}));  // (300 - 20) * 50 / 100 = 140 wide

    // The bar's width is truncated: 281 * 33 / 100 = 92.73.
    EXPECT_EQ(Orvik::LayOutMessagePanel(CRect{0, 0, 301, 60}, 33).bar.Width(), 92);
}

TEST(MessagePanelLayout, ProgressWithoutARectangleSitsAboveTheBottom) {
    EXPECT_EQ(Orvik::DefaultProgressRect(CRect{0, 0, 400, 250}), (CRect{0, 190, 400, 248}));
}

}  // namespace
