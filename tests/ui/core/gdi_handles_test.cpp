// The library's GDI owners: a selection goes back with its guard.
#include "core/gdi_handles.h"

#include <gtest/gtest.h>

namespace {

TEST(GdiHandles, SelectionIsUndoneWithItsGuard) {
    const Orvik::UniqueHDC dc(::CreateCompatibleDC(nullptr));
    ASSERT_TRUE(dc);
    const HGDIOBJ original = ::GetCurrentObject(dc.Get(), OBJ_BITMAP);
    const Orvik::UniqueHBitmap bitmap(::CreateCompatibleBitmap(dc.Get(), 4, 4));
    ASSERT_TRUE(bitmap);
    {
        const Orvik::UniqueSelectObject selection = Orvik::SelectInto(dc.Get(), bitmap.Get());
        ASSERT_TRUE(selection);
        EXPECT_EQ(::GetCurrentObject(dc.Get(), OBJ_BITMAP), bitmap.Get());
    }
    EXPECT_EQ(::GetCurrentObject(dc.Get(), OBJ_BITMAP), original);
    EXPECT_FALSE(Orvik::SelectInto(dc.Get(), nullptr));  // a failed selection guards nothing
}

}  // namespace
