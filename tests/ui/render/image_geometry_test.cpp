#include "render/image_geometry.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Orvik::CPoint;
using Orvik::CRect;
using Orvik::NineGridPieces;
using Orvik::PixelBox;

TEST(NineGrid, CornersKeepTheirSizeAndMiddlesStretch) {
    // Corner 8 of a 20 x 20 source at (40, 0) (second frame of a strip) into 100 x 40.
    const auto pieces = NineGridPieces(CRect{10, 20, 110, 60}, PixelBox{40, 0, 20, 20}, {8, 8, 8, 8});
    const std::vector<std::pair<PixelBox, PixelBox>> expected = {
        {{10, 20, 8, 8}, {40, 0, 8, 8}},    // top-left
        {{10, 28, 8, 24}, {40, 8, 8, 4}},   // left edge
        {{10, 52, 8, 8}, {40, 12, 8, 8}},   // bottom-left
        {{18, 20, 84, 8}, {48, 0, 4, 8}},   // top edge
        {{102, 20, 8, 8}, {52, 0, 8, 8}},   // top-right
        {{102, 28, 8, 24}, {52, 8, 8, 4}},  // right edge
        {{102, 52, 8, 8}, {52, 12, 8, 8}},  // bottom-right
        {{18, 52, 84, 8}, {48, 12, 4, 8}},  // bottom edge
        {{18, 28, 84, 24}, {48, 8, 4, 4}},  // centre
    };
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        EXPECT_EQ(pieces[i].destination, expected[i].first) << "piece " << i;
        EXPECT_EQ(pieces[i].source, expected[i].second) << "piece " << i;
    }
}

struct TilingCase {
    CRect destination;
    PixelBox source;
    Orvik::NineGridMargins margins;
};

// Whatever the margins, the pieces cover destination and source exactly once each:
// no gap and no overlap at the exclusive right and bottom edges.
class NineGridTiling : public ::testing::TestWithParam<TilingCase> {};

void ExpectCoveredOnce(const std::vector<PixelBox>& boxes, int left, int top, int width, int height) {
    std::vector<int> hits(static_cast<std::size_t>(width * height), 0);
    for (const PixelBox& box : boxes) {
        for (int y = box.y; y < box.y + box.height; ++y) {
            for (int x = box.x; x < box.x + box.width; ++x) {
                ASSERT_TRUE(x >= left && x < left + width && y >= top && y < top + height) << x << "," << y;
                ++hits[static_cast<std::size_t>((y - top) * width + (x - left))];
            }
        }
    }
    for (std::size_t i = 0; i < hits.size(); ++i) {
        EXPECT_EQ(hits[i], 1) << "pixel " << i;
    }
}

TEST_P(NineGridTiling, PiecesTileBothRectangles) {
    const TilingCase& c = GetParam();
    std::vector<PixelBox> destinations;
    std::vector<PixelBox> sources;
    for (const auto& piece : NineGridPieces(c.destination, c.source, c.margins)) {
        destinations.push_back(piece.destination);
        sources.push_back(piece.source);
        // Corners are drawn 1:1.
    }
    for (int corner : {0, 2, 4, 6}) {
        EXPECT_EQ(destinations[corner].width, sources[corner].width);
        EXPECT_EQ(destinations[corner].height, sources[corner].height);
    }
    ExpectCoveredOnce(destinations, c.destination.left, c.destination.top, c.destination.Width(),
                      c.destination.Height());
    ExpectCoveredOnce(sources, c.source.x, c.source.y, c.source.width, c.source.height);
}

INSTANTIATE_TEST_SUITE_P(Margins, NineGridTiling,
                         ::testing::Values(TilingCase{{0, 0, 100, 40}, {0, 0, 20, 20}, {8, 8, 8, 8}},
                                           TilingCase{{5, 7, 36, 29}, {30, 2, 15, 17}, {2, 3, 4, 5}},
                                           TilingCase{{-10, -4, 11, 13}, {0, 0, 9, 9}, {1, 0, 0, 8}},
                                           TilingCase{{0, 0, 12, 12}, {0, 0, 12, 12}, {6, 6, 6, 6}}));

struct FitCase {
    int width;
    int height;
    CRect box;
    CRect expected;
};

class FitImageInBox : public ::testing::TestWithParam<FitCase> {};

TEST_P(FitImageInBox, ScalesDownAndCentres) {
    const FitCase& c = GetParam();
    EXPECT_EQ(Orvik::FitImageInBox(c.width, c.height, c.box), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, FitImageInBox,
    ::testing::Values(FitCase{400, 200, {0, 0, 100, 100}, {0, 25, 100, 75}},        // wider than the box: full width
                      FitCase{200, 400, {0, 0, 100, 100}, {25, 0, 75, 100}},        // taller: full height
                      FitCase{50, 50, {0, 0, 100, 100}, {25, 25, 75, 75}},          // smaller: centred as it is
                      FitCase{300, 50, {0, 0, 100, 100}, {0, 42, 100, 58}},         // wider only: 100 x 16
                      FitCase{50, 300, {0, 0, 100, 100}, {42, 0, 58, 100}},         // taller only: 16 x 100
                      FitCase{400, 300, {10, 20, 110, 220}, {10, 82, 110, 157}},    // wider in ratio than this box
                      FitCase{150, 400, {10, 20, 110, 220}, {22, 20, 97, 220}},     // narrower in ratio than this box
                      FitCase{400, 200, {10, 20, 110, 220}, {-140, 20, 260, 220}},  // equal height: not scaled
                      FitCase{
                          100, 301, {0, 0, 100, 100}, {0, -100, 100, 201}},   // equal width: not scaled, -201/2 is -100
                      FitCase{101, 100, {0, 0, 100, 100}, {0, 0, 101, 100}},  // equal height: not scaled, -1/2 is 0
                      FitCase{0, 5, {0, 0, -10, -10}, {-5, -7, -5, -2}}));    // negative box: no division by zero

struct OriginCase {
    int width, height, contentWidth, contentHeight;
    unsigned horizontal, vertical;
    CPoint expected;
};

class ContentOrigin : public ::testing::TestWithParam<OriginCase> {};

TEST_P(ContentOrigin, AlignsAndTruncatesTowardZero) {
    const OriginCase& c = GetParam();
    EXPECT_EQ(Orvik::ContentOrigin(c.width, c.height, c.contentWidth, c.contentHeight, c.horizontal, c.vertical),
              c.expected);
    // Placed in a box, the same offsets move with the box and sit 2 lower.
    const CRect box{-7, 11, -7 + c.width, 11 + c.height};
    EXPECT_EQ(Orvik::ContentOriginInBox(box, c.contentWidth, c.contentHeight, c.horizontal, c.vertical),
              (CPoint{-7 + c.expected.x, 11 + c.expected.y + 2}));
}

INSTANTIATE_TEST_SUITE_P(Table, ContentOrigin,
                         ::testing::Values(OriginCase{100, 50, 30, 20, 1, 8, {35, 30}},
                                           OriginCase{100, 50, 30, 20, 2, 0, {70, 0}},
                                           OriginCase{100, 50, 30, 20, 0, 4, {0, 15}},
                                           OriginCase{101, 51, 30, 20, 1, 4, {35, 15}},
                                           OriginCase{10, 10, 15, 15, 1, 4, {-2, -2}},  // floor would be -3
                                           OriginCase{10, 10, 15, 15, 2, 8, {-5, -5}},
                                           OriginCase{100, 50, 30, 20, 3, 5, {0, 0}}));  // unknown values: 0

TEST(ContentOrigin, WorkedExampleInABox) {
    EXPECT_EQ(Orvik::ContentOriginInBox(CRect{10, 10, 110, 60}, 30, 20, 1, 8), (CPoint{45, 42}));
}

TEST(RotateAbout, TurnsAboutTheCentre) {
    struct Case {
        float x, y, degrees, cx, cy, ex, ey;
    };
    for (const Case& c : {Case{10, 0, 90, 0, 0, 0, 10}, Case{10, 5, 180, 5, 5, 0, 5}, Case{3, 4, 0, 1, 1, 3, 4},
                          Case{7, 2, -90, 2, 2, 2, -3}, Case{2, 2, 360, 0, 0, 2, 2}}) {
        float x = c.x;
        float y = c.y;
        Orvik::RotateAbout(x, y, c.degrees, c.cx, c.cy);
        EXPECT_NEAR(x, c.ex, 1e-4) << c.degrees;
        EXPECT_NEAR(y, c.ey, 1e-4) << c.degrees;
    }
}

TEST(RoundedCornerRadii, TakeTheSmallerWhenFarApart) {
    struct Case {
        float width, height, divisor, rx, ry;
    };
    for (const Case& c :
         {Case{100, 40, 4, 12.5f, 5}, Case{200, 40, 2, 10, 10}, Case{24, 4, 1, 12, 2}, Case{44, 4, 1, 2, 2}}) {
        const Orvik::CornerRadii radii = Orvik::RoundedCornerRadii(c.width, c.height, c.divisor);
        EXPECT_FLOAT_EQ(radii.x, c.rx) << c.width << "x" << c.height;
        EXPECT_FLOAT_EQ(radii.y, c.ry) << c.width << "x" << c.height;
    }
}

}  // namespace
