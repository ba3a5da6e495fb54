#include "core/bottom_up_pixels.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Orvik::BottomUpPixels;
using Orvik::CRect;

struct AlphaCase {
    uint32_t pixel;
    uint32_t expected;
};

class FixedAlphaTest : public testing::TestWithParam<AlphaCase> {};

TEST_P(FixedAlphaTest, OnlyTransparentBlackStaysAHole) {
    EXPECT_EQ(Orvik::FixedAlpha(GetParam().pixel), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Table, FixedAlphaTest,
                         testing::Values(AlphaCase{0x00000000, 0x00000000},   // hole
                                         AlphaCase{0x01000000, 0x01000000},   // black, some alpha
                                         AlphaCase{0x00000001, 0xFF000001},   // GDI's near-black
                                         AlphaCase{0x00FF0000, 0xFFFF0000},   // GDI red
                                         AlphaCase{0x00123456, 0xFF123456},
                                         AlphaCase{0xFE646464, 0xFE646464},   // background frame
                                         AlphaCase{0x80FFFFFF, 0x80FFFFFF})); // blended text

TEST(BottomUpPixels, ClientRowsAreStoredFromTheBottom) {
    std::vector<uint32_t> store(3 * 2, 0);
    BottomUpPixels pixels(store, 3, 2);
    pixels.At(0, 0) = 0xA;  // top-left
    pixels.At(2, 1) = 0xB;  // bottom-right
    EXPECT_EQ(store[3], 0xAu);
    EXPECT_EQ(store[2], 0xBu);
}

TEST(BottomUpPixels, ClearsAndFixesOnlyInsideTheAreaClippedToTheImage) {
    const int width = 4;
    const int height = 3;
    std::vector<uint32_t> store(width * height, 0x00FF0000);
    BottomUpPixels pixels(store, width, height);
    pixels.FixUpAlpha(CRect{-5, 1, 2, 10});  // reaches past the left and bottom edges
    pixels.Clear(CRect{3, 0, 9, 1});         // past the right edge
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const bool fixed = x < 2 && y >= 1;
            const bool cleared = x == 3 && y == 0;
            const uint32_t expected = cleared ? 0 : fixed ? 0xFFFF0000 : 0x00FF0000;
            EXPECT_EQ(pixels.At(x, y), expected) << x << "," << y;
        }
    }
}

}  // namespace
