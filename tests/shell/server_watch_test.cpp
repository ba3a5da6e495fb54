#include "shell/server_watch.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

struct WatchRun {
    int launches = 0;
    int endedAtFiring = 0;  // 0: never ended
};

// Fires the watch `firings` times over a block showing `usage`, with no server
// process running at any time.
WatchRun Watch(const SensorBlock* block, int firings) {
    WatchRun run;
    ServerWatch watch([] { return false; }, [&] { ++run.launches; });
    for (int firing = 1; firing <= firings; ++firing) {
        if (watch.Fire(block) && run.endedAtFiring == 0) {
            run.endedAtFiring = firing;
        }
    }
    return run;
}

TEST(ServerWatch, LaunchesOnlyWhileTheUsageIsNotAboveZero) {
    const struct {
        float usage;
        int launches;
    } cases[] = {
        {0.0f, 12},
        {-0.0f, 12},
        {-1.0f, 12},
        {std::numeric_limits<float>::denorm_min(), 0},
        {0.5f, 0},
        {100.0f, 0},
        {std::numeric_limits<float>::quiet_NaN(), 0},  // a NaN counts as above zero
        {std::numeric_limits<float>::infinity(), 0},
    };
    for (const auto& c : cases) {
        SensorBlock block = {};
        block.usage = c.usage;
        const WatchRun run = Watch(&block, 12);
        EXPECT_EQ(run.launches, c.launches) << c.usage;
        EXPECT_EQ(run.endedAtFiring, 12) << c.usage;
    }
}

TEST(ServerWatch, EndsAtTheTwelfthFiringEvenWithoutABlock) {
    const WatchRun run = Watch(nullptr, 12);
    EXPECT_EQ(run.launches, 0);
    EXPECT_EQ(run.endedAtFiring, 12);
}

TEST(ServerWatch, ReadsTheUsageAtEachFiring) {
    SensorBlock block = {};
    int launches = 0;
    ServerWatch watch([] { return false; }, [&] { ++launches; });
    const float usages[] = {0.0f, 0.0f, 37.5f, 0.0f, std::nanf("")};
    for (const float usage : usages) {
        block.usage = usage;
        EXPECT_FALSE(watch.Fire(&block));
    }
    EXPECT_EQ(launches, 3);
}

// An idle processor reads exactly 0 % usage: a server that runs must not get a
// second one beside it at every firing.
TEST(ServerWatch, StartsNoServerWhileOneRuns) {
    SensorBlock block = {};
    block.usage = 0.0f;
    bool running = false;
    int launches = 0;
    ServerWatch watch([&] { return running; },
                      [&] {
                          ++launches;
                          running = true;
                      });
    for (int firing = 1; firing <= 12; ++firing) {
        watch.Fire(&block);
    }
    EXPECT_EQ(launches, 1);
}

TEST(ServerWatch, SlowWatchRestartsOnlyAServerThatIsGone) {
    bool running = true;
    int launches = 0;
    ServerWatch watch([&] { return running; }, [&] { ++launches; });
    SensorBlock block = {};
    block.usage = 20.0f;
    for (int firing = 1; firing <= 12; ++firing) {
        watch.Fire(&block);
    }
    watch.FireSlow();
    EXPECT_EQ(launches, 0);
    running = false;  // the server crashed after the first minute
    watch.FireSlow();
    EXPECT_EQ(launches, 1);
    watch.FireSlow();
    EXPECT_EQ(launches, 2);  // and again while it will not stay up
    EXPECT_NE(ServerWatch::kSlowTimerId, ServerWatch::kTimerId);
}

}  // namespace
