#include "base/win/unique_any.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<int> closed;

struct CountingTraits {
    using Type = int;
    static Type Invalid() { return -1; }
    static void Close(Type value) { closed.push_back(value); }
};
using UniqueInt = Base::UniqueAny<CountingTraits>;

TEST(UniqueAny, ClosesExactlyOnceWhateverHappensToIt) {
    closed.clear();
    {
        UniqueInt a(3);
        UniqueInt b(std::move(a));
        EXPECT_FALSE(a.IsValid());
        EXPECT_EQ(b.Get(), 3);
        UniqueInt c(5);
        c = std::move(b);  // 5 is closed, 3 moves on
        EXPECT_EQ(closed, std::vector<int>{5});
        EXPECT_EQ(c.Get(), 3);
        c.Reset(7);
        EXPECT_EQ(closed, (std::vector<int>{5, 3}));
        const int taken = c.Take();
        EXPECT_EQ(taken, 7);
        EXPECT_FALSE(c);
        UniqueInt empty;
        empty.Reset();
    }
    EXPECT_EQ(closed, (std::vector<int>{5, 3}));  // neither the taken nor the empty ones
}

TEST(UniqueAny, IsMoveOnly) {
    static_assert(!std::is_copy_constructible_v<UniqueInt>);
    static_assert(!std::is_copy_assignable_v<UniqueInt>);
    static_assert(std::is_nothrow_move_constructible_v<UniqueInt>);
}

}  // namespace
