#include "render/blend_arithmetic.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

std::vector<int> Ramp(int start, int end, int count) {
    std::vector<int> alphas;
    for (int i = 0; i < count; ++i) {
        alphas.push_back(Orvik::TransitionAlpha(start, end, count, i));
    }
    return alphas;
}

TEST(TransitionAlpha, RampsFromStartTowardEnd) {
    EXPECT_EQ(Ramp(0, 100, 10), (std::vector<int>{255, 229, 204, 178, 153, 127, 102, 76, 51, 25}));
    EXPECT_EQ(Ramp(100, 0, 10), (std::vector<int>{0, 25, 51, 76, 102, 127, 153, 178, 204, 229}));
    EXPECT_EQ(Ramp(80, 80, 4), (std::vector<int>{51, 51, 51, 51}));
    EXPECT_EQ(Ramp(20, 60, 1), (std::vector<int>{204}));
    // 20% to 60% transparency over 4 rows: 204 down toward 102 in steps of 25.5.
    EXPECT_EQ(Ramp(20, 60, 4), (std::vector<int>{204, 178, 153, 127}));
}

TEST(TransitionAlpha, KeepsOnlyTheLowByte) {
    // -20% transparency computes 306, which wraps to 50 as a byte.
    EXPECT_EQ(Orvik::TransitionAlpha(-20, 100, 10, 0), 306 & 0xFF);
    for (int i = 0; i < 10; ++i) {
        const int alpha = Orvik::TransitionAlpha(-50, 150, 10, i);
        EXPECT_GE(alpha, 0);
        EXPECT_LE(alpha, 255);
    }
}

TEST(CornerFadeAlpha, OpaqueAtTheCornerTransparentFromDistanceN) {
    struct Case {
        int n, i, j, expected;
    };
    for (const Case& c : {Case{4, 0, 0, 255}, Case{4, 3, 0, 63}, Case{4, 0, 3, 63}, Case{4, 1, 1, 164},
                          Case{4, 3, 3, 0}, Case{1, 0, 0, 255}, Case{10, 6, 8, 0}, Case{10, 3, 4, 127}}) {
        EXPECT_EQ(Orvik::CornerFadeAlpha(c.n, c.i, c.j), c.expected) << c.n << ": " << c.i << "," << c.j;
    }
}

TEST(MeanAlpha, TruncatesTheMean) {
    EXPECT_EQ(Orvik::MeanAlpha(0xFF000000, 0x00FFFFFF), 127);
    EXPECT_EQ(Orvik::MeanAlpha(0x01FF0000, 0x00FF0000), 0);
    EXPECT_EQ(Orvik::MeanAlpha(0xFE123456, 0xFF654321), 254);
    EXPECT_EQ(Orvik::MeanAlpha(0xFFFFFFFF, 0xFFFFFFFF), 255);
}

TEST(GradientBandCount, DoublesAtEachThreshold) {
    struct Case {
        int steps, bands;
    };
    for (const Case& c : {Case{-1, 2}, Case{0, 2}, Case{3, 2}, Case{4, 4}, Case{7, 4}, Case{8, 8}, Case{15, 8},
                          Case{16, 16}, Case{31, 16}, Case{32, 32}, Case{63, 32}, Case{64, 64}, Case{100000, 64}}) {
        EXPECT_EQ(Orvik::GradientBandCount(c.steps), c.bands) << c.steps;
    }
}

TEST(GradientBandColor, RunsFromTheFirstColourToTheLast) {
    EXPECT_EQ(Orvik::GradientBandColor(0xFF000000, 0xFFFFFFFF, 0, 4), 0xFF000000u);
    EXPECT_EQ(Orvik::GradientBandColor(0xFF000000, 0xFFFFFFFF, 3, 4), 0xFFFFFFFFu);
    // Each channel on its own, downward as well as upward.
    EXPECT_EQ(Orvik::GradientBandColor(0x80FF0010, 0x0000FF30, 1, 3), 0x40807F20u);
    EXPECT_EQ(Orvik::GradientBandColor(0xFF102030, 0xFF405060, 0, 1), 0xFF102030u);
}

TEST(LiftPureBlack, OnlyPureBlackMoves) {
    struct Case {
        std::uint32_t in, out;
    };
    for (const Case& c : {Case{0xFF000000, 0xFF000001}, Case{0x00000000, 0x00000001}, Case{0x80000000, 0x80000001},
                          Case{0xFF000100, 0xFF000100}, Case{0x00000001, 0x00000001}, Case{0x12FFFFFF, 0x12FFFFFF},
                          Case{0xFF010000, 0xFF010000}}) {
        EXPECT_EQ(Orvik::LiftPureBlack(c.in), c.out) << std::hex << c.in;
    }
}

}  // namespace
