#include "core/geometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

using Orvik::CPoint;
using Orvik::CRect;

struct ScaleCase {
    int value;
    float scale;
    int expected;
};

class ScaleTowardZeroTest : public testing::TestWithParam<ScaleCase> {};

TEST_P(ScaleTowardZeroTest, TruncatesTheSinglePrecisionProduct) {
    const ScaleCase& c = GetParam();
    EXPECT_EQ(Orvik::ScaleTowardZero(c.value, c.scale), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ScaleTowardZeroTest,
    testing::Values(ScaleCase{7, 1.5f, 10},     // 10.5
                    ScaleCase{7, 1.0f, 7},      // identity at scale 1
                    ScaleCase{-7, 1.5f, -10},   // toward zero, not down
                    ScaleCase{3, 0.3f, 0},      // 0.9
                    ScaleCase{10, 1.25f, 12},   // 12.5
                    ScaleCase{100, 1.1f, 110},  // 110.000002 in float
                    ScaleCase{28, 1.25f, 35},   // em size of a 28-pixel title
                    ScaleCase{28, 1.26f, 35},   // 35.28
                    ScaleCase{0, 2.0f, 0},
                    ScaleCase{std::numeric_limits<int>::max(), 2.0f, std::numeric_limits<int>::max()},
                    ScaleCase{std::numeric_limits<int>::min(), 2.0f, std::numeric_limits<int>::min()},
                    ScaleCase{5, std::nanf(""), 0}));

struct CentreCase {
    const char* what;
    CRect centre;
    CRect area;
    int width;
    int height;
    CPoint expected;
};

class CenteredOriginTest : public testing::TestWithParam<CentreCase> {};

TEST_P(CenteredOriginTest, CentresThenKeepsInsideTheArea) {
    const CentreCase& c = GetParam();
    EXPECT_EQ(Orvik::CenteredOrigin(c.centre, c.area, c.width, c.height), c.expected) << c.what;
}

const CRect kWorkArea{0, 0, 1920, 1040};

INSTANTIATE_TEST_SUITE_P(
    Table, CenteredOriginTest,
    testing::Values(
        CentreCase{"on the work area", kWorkArea, kWorkArea, 400, 300, {760, 370}},
        CentreCase{"odd sizes truncate each half", CRect{0, 0, 101, 51}, CRect{0, 0, 1000, 1000}, 11, 7, {45, 22}},
        CentreCase{
            "negative centre truncates toward zero", CRect{-5, -5, 0, 0}, CRect{-100, -100, 100, 100}, 1, 1, {-2, -2}},
        CentreCase{"larger than the area sits at its left and top", kWorkArea, kWorkArea, 2500, 1500, {0, 0}},
        CentreCase{
            "pushed back off the right and bottom", CRect{1800, 1000, 1900, 1040}, kWorkArea, 400, 300, {1520, 740}},
        CentreCase{"pushed back off the left and top", CRect{0, 0, 10, 10}, kWorkArea, 400, 300, {0, 0}},
        CentreCase{
            "area not at the origin", CRect{1920, 0, 3840, 1080}, CRect{1920, 0, 3840, 1080}, 800, 600, {2480, 240}},
        CentreCase{"sums near the int limit do not overflow",
                   CRect{2147483000, 0, 2147483600, 10},
                   CRect{2147482000, 0, 2147483600, 10},
                   100,
                   10,
                   {2147483250, 0}}));

TEST(CRect, RightAndBottomAreExclusive) {
    const CRect rect{10, 10, 20, 30};
    EXPECT_EQ(rect.Width(), 10);
    EXPECT_EQ(rect.Height(), 20);
    EXPECT_FALSE(rect.IsEmpty());
    EXPECT_TRUE((CRect{10, 10, 10, 30}).IsEmpty());
    EXPECT_TRUE((CRect{10, 10, 20, 5}).IsEmpty());
}

}  // namespace
