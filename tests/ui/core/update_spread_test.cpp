#include "core/update_spread.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Orvik::CRect;
using Orvik::SpreadUpdate;
using Orvik::StackedControl;

struct SpreadCase {
    const char* name;
    std::vector<StackedControl> stack;
    std::optional<size_t> changed;
    CRect rect;
    CRect area;
    std::vector<size_t> redrawn;
};

class SpreadUpdateTest : public testing::TestWithParam<SpreadCase> {};

TEST_P(SpreadUpdateTest, RedrawsWhatLiesAboveAndOverlaps) {
    const SpreadCase& c = GetParam();
    const Orvik::UpdateSpread spread = SpreadUpdate(c.stack, c.changed, c.rect);
    EXPECT_EQ(spread.area, c.area);
    EXPECT_EQ(spread.redrawn, c.redrawn);
}

const CRect kLow{0, 0, 50, 50};
const CRect kHigh{30, 30, 80, 80};
const CRect kApart{200, 200, 220, 220};

INSTANTIATE_TEST_SUITE_P(
    Table, SpreadUpdateTest,
    testing::Values(
        SpreadCase{"TopmostAlone", {{kLow, true}, {kHigh, true}}, 1, kHigh, kHigh, {}},
        SpreadCase{"BeneathAnOverlappingControl", {{kLow, true}, {kHigh, true}}, 0, kLow, {0, 0, 80, 80}, {1}},
        SpreadCase{"HiddenControlAboveIsLeftOut", {{kLow, true}, {kHigh, false}}, 0, kLow, kLow, {}},
        SpreadCase{"ControlsBelowAreLeftOut", {{kHigh, true}, {kLow, true}}, 1, kLow, kLow, {}},
        SpreadCase{"NonOverlappingAboveIsLeftOut", {{kLow, true}, {kApart, true}}, 0, kLow, kLow, {}},
        // Overlap is tested against the reported rectangle, not the growing union:
        // the third control touches only the second.
        SpreadCase{"OverlapWithTheReportNotTheUnion",
                   {{kLow, true}, {kHigh, true}, {{70, 70, 100, 100}, true}},
                   0,
                   kLow,
                   {0, 0, 80, 80},
                   {1}},
        SpreadCase{"SeveralAboveInOrder",
                   {{kLow, true}, {{10, 10, 20, 20}, true}, {kApart, true}, {kHigh, true}},
                   0,
                   kLow,
                   {0, 0, 80, 80},
                   {1, 3}},
        SpreadCase{"ControlOfNoList", {{kLow, true}, {kHigh, true}}, std::nullopt, kLow, kLow, {}}),
    [](const testing::TestParamInfo<SpreadCase>& info) { return std::string(info.param.name); });

TEST(RectOperations, EmptyRectanglesNeitherMeetNorAdd) {
    EXPECT_FALSE(Orvik::Intersects(CRect{0, 0, 10, 10}, CRect{5, 5, 5, 9}));
    EXPECT_FALSE(Orvik::Intersects(CRect{0, 0, 10, 10}, CRect{10, 0, 20, 10}));  // edges are exclusive
    EXPECT_TRUE(Orvik::Intersects(CRect{0, 0, 10, 10}, CRect{9, 9, 20, 20}));
    EXPECT_EQ(Orvik::UnionOf(CRect{}, CRect{5, 5, 6, 6}), (CRect{5, 5, 6, 6}));
    EXPECT_EQ(Orvik::UnionOf(CRect{0, 0, 10, 10}, CRect{20, 0, 30, 10}), (CRect{0, 0, 30, 10}));
}

}  // namespace
