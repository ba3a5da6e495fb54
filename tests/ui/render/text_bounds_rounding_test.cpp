#include "render/text_bounds_rounding.h"

#include <gtest/gtest.h>

namespace {

TEST(TextBoundsWidth, AnyFractionRoundsUp) {
    EXPECT_EQ(Orvik::TextBoundsWidth(10.0), 10);
    EXPECT_EQ(Orvik::TextBoundsWidth(10.2), 11);
    EXPECT_EQ(Orvik::TextBoundsWidth(10.9999), 11);
    EXPECT_EQ(Orvik::TextBoundsWidth(0.0), 0);
    EXPECT_EQ(Orvik::TextBoundsWidth(0.25), 1);
}

TEST(SingleLineTextHeight, FourMoreForAFractionalLineSpacing) {
    EXPECT_EQ(Orvik::SingleLineTextHeight(16.0), 17);
    EXPECT_EQ(Orvik::SingleLineTextHeight(16.5), 20);
    EXPECT_EQ(Orvik::SingleLineTextHeight(16.01), 20);
    EXPECT_EQ(Orvik::SingleLineTextHeight(15.99), 19);
}

TEST(WrappedTextHeight, GrowsByFiveOnceTheTextOutgrowsOneLine) {
    struct Case {
        double lineSpacing, boundsHeight;
        int expected;
    };
    for (const Case& c : {Case{16.0, 10.5, 18},    // within a line: 17 + 1
                          Case{16.0, 40.0, 46},    // 41 > 17: 41 + 5
                          Case{16.5, 17.0, 19},    // 18 is not more than 18: 18 + 1
                          Case{16.5, 17.2, 24},    // 19 > 18: 19 + 5
                          Case{16.0, 0.0, 18}}) {  // nothing to draw
        EXPECT_EQ(Orvik::WrappedTextHeight(c.lineSpacing, c.boundsHeight), c.expected)
            << c.lineSpacing << " " << c.boundsHeight;
    }
}

}  // namespace
