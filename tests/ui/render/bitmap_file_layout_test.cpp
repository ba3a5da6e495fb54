#include "render/bitmap_file_layout.h"

#include <gtest/gtest.h>

namespace {

struct LayoutCase {
    int depth, width, height;
    int bits;
    std::uint32_t rowSize, paletteSize;
};

class BitmapFileLayout : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(BitmapFileLayout, RowsPaddedToFourBytesAndTheTableBeforeThePixels) {
    const LayoutCase& c = GetParam();
    const Orvik::BitmapFileLayout layout = Orvik::ComputeBitmapFileLayout(c.depth, c.width, c.height);
    EXPECT_EQ(layout.bitsPerPixel, c.bits);
    EXPECT_EQ(layout.rowSize, c.rowSize);
    EXPECT_EQ(layout.imageSize, c.rowSize * c.height);
    EXPECT_EQ(layout.paletteSize, c.paletteSize);
    EXPECT_EQ(layout.pixelOffset, 54 + c.paletteSize);
    EXPECT_EQ(layout.fileSize, 54 + c.paletteSize + c.rowSize * c.height);
}

INSTANTIATE_TEST_SUITE_P(Depths, BitmapFileLayout,
                         ::testing::Values(LayoutCase{32, 3, 2, 24, 12, 0},  // 9 bytes padded to 12
                                           LayoutCase{24, 4, 5, 24, 12, 0},  // already a multiple of 4
                                           LayoutCase{16, 1, 1, 24, 4, 0},
                                           LayoutCase{8, 5, 3, 8, 8, 1024},                               // 256 colours
                                           LayoutCase{4, 3, 2, 4, 4, 64},                                 // 16 colours
                                           LayoutCase{2, 9, 1, 4, 8, 64}, LayoutCase{1, 33, 2, 1, 8, 8},  // 2 colours
                                           LayoutCase{0, 32, 1, 1, 4, 8}, LayoutCase{32, 0, 0, 24, 0, 0}));

}  // namespace
