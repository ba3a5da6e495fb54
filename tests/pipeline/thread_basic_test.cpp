#include "pipeline/thread_basic_win.h"

#include <gtest/gtest.h>

#include <chrono>
#include <mutex>
#include <set>
#include <vector>

#include "wait_until.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

class StepCounter : public CThreadBasic {
public:
    ~StepCounter() { StopThread(); }

    std::atomic<int> steps{0};
    std::atomic<DWORD> stepMs{0};
    std::atomic<bool> interruptible{true};

    std::set<DWORD> Threads() {
        std::lock_guard guard(lock_);
        return threads_;
    }
    std::vector<Clock::time_point> StepTimes() {
        std::lock_guard guard(lock_);
        return stepTimes_;
    }

protected:
    void Run() override {
        {
            std::lock_guard guard(lock_);
            threads_.insert(::GetCurrentThreadId());
            stepTimes_.push_back(Clock::now());
        }
        ++steps;
        if (interruptible) {
            SleepWhileRunning(stepMs);
        } else {
            ::Sleep(stepMs);
        }
    }

private:
    std::mutex lock_;
    std::set<DWORD> threads_;
    std::vector<Clock::time_point> stepTimes_;
};

TEST(CThreadBasic, RunsOnceWithoutLoopAndSignalsItsEnd) {
    StepCounter counter;
    counter.StartThread(16, false);
    EXPECT_EQ(counter.loop, 0);
    ASSERT_EQ(::WaitForSingleObject(counter.doneEvent.Get(), 5000), WAIT_OBJECT_0);
    EXPECT_EQ(counter.steps, 1);
    EXPECT_EQ(counter.Threads().size(), 1u);
    EXPECT_FALSE(counter.Threads().count(::GetCurrentThreadId()));
}

TEST(CThreadBasic, SecondStartWhileRunningMakesNoSecondThread) {
    StepCounter counter;
    counter.stepMs = 5;
    counter.StartThread(16, true);
    const HANDLE firstEvent = counter.doneEvent.Get();
    const DWORD firstStart = counter.startTick;
    EXPECT_FALSE(counter.StartThread(1, false));
    EXPECT_EQ(counter.doneEvent.Get(), firstEvent);
    EXPECT_EQ(counter.startTick, firstStart);
    EXPECT_EQ(counter.interval, 16u);
    EXPECT_EQ(counter.loop, 1);

    ASSERT_TRUE(WaitUntil([&] { return counter.steps >= 10; }));
    EXPECT_EQ(counter.Threads().size(), 1u);
    EXPECT_TRUE(counter.StopThread());
    EXPECT_EQ(counter.running, 0);
    EXPECT_FALSE(counter.doneEvent.IsValid());
}

TEST(CThreadBasic, StopEndsTheOneSecondWaitAtOnce) {
    StepCounter counter;
    counter.stepMs = 1000;  // like the tick's wait
    counter.StartThread(16, true);
    ASSERT_TRUE(WaitUntil([&] { return counter.steps >= 1; }));
    const auto asked = Clock::now();
    EXPECT_TRUE(counter.StopThread());
    EXPECT_LT(Clock::now() - asked, 500ms);
    const int stepsAtStop = counter.steps;
    ::Sleep(100);
    EXPECT_EQ(counter.steps, stepsAtStop);  // no step after the stop
}

TEST(CThreadBasic, StopTellsWhenTheWorkerIsStillInALongStep) {
    StepCounter counter;
    counter.stepMs = 3500;
    counter.interruptible = false;  // like a download that cannot be cut short
    ASSERT_TRUE(counter.StartThread(16, true));
    ASSERT_TRUE(WaitUntil([&] { return counter.steps >= 1; }));
    const HANDLE doneEvent = counter.doneEvent.Get();
    EXPECT_FALSE(counter.StopThread());
    EXPECT_EQ(counter.running, 0);

    // While that worker lives, a second stop does not call it ended, and a start
    // neither resets its events nor puts a second worker beside it.
    EXPECT_FALSE(counter.StopThread());
    EXPECT_FALSE(counter.StartThread(16, true));
    EXPECT_EQ(counter.doneEvent.Get(), doneEvent);
    EXPECT_EQ(counter.running, 0);

    // The worker finishes its step against a live object, signals, and ends.
    ASSERT_EQ(::WaitForSingleObject(counter.doneEvent.Get(), 5000), WAIT_OBJECT_0);
    EXPECT_EQ(counter.steps, 1);
    EXPECT_EQ(counter.Threads().size(), 1u);
    EXPECT_TRUE(counter.StopThread());
    EXPECT_FALSE(counter.doneEvent.IsValid());
}

TEST(CThreadBasic, StartAfterTheLateWorkerEndedStartsAfresh) {
    StepCounter counter;
    counter.stepMs = 1500;
    counter.interruptible = false;
    ASSERT_TRUE(counter.StartThread(16, true));
    ASSERT_TRUE(WaitUntil([&] { return counter.steps >= 1; }));
    EXPECT_FALSE(counter.StopThread());
    ASSERT_EQ(::WaitForSingleObject(counter.doneEvent.Get(), 5000), WAIT_OBJECT_0);

    counter.stepMs = 5;
    ASSERT_TRUE(counter.StartThread(16, true));
    ASSERT_TRUE(WaitUntil([&] { return counter.steps >= 3; }));
    EXPECT_TRUE(counter.StopThread());
    EXPECT_EQ(counter.Threads().size(), 2u);
}

// Without the pause a step that returns at once would spin a core at 100 % (the
// tick does so while power reads 999 W or more).
TEST(CThreadBasic, StepsOfALoopKeepTheirPauseApart) {
    StepCounter counter;
    counter.stepMs = 0;
    ASSERT_TRUE(counter.StartThread(100, true));
    ASSERT_TRUE(WaitUntil([&] { return counter.steps >= 5; }));
    EXPECT_TRUE(counter.StopThread());
    const auto times = counter.StepTimes();
    ASSERT_GE(times.size(), 5u);
    for (std::size_t i = 1; i < times.size(); ++i) {
        EXPECT_GE(times[i] - times[i - 1], 85ms) << "between steps " << i - 1 << " and " << i;
    }
}

TEST(CThreadBasic, CanBeStartedAgainAfterAStop) {
    StepCounter counter;
    counter.stepMs = 5;
    counter.StartThread(16, true);
    ASSERT_TRUE(WaitUntil([&] { return counter.steps >= 2; }));
    ASSERT_TRUE(counter.StopThread());
    counter.StartThread(16, true);
    const int before = counter.steps;
    ASSERT_TRUE(WaitUntil([&] { return counter.steps >= before + 2; }));
    EXPECT_TRUE(counter.StopThread());
    EXPECT_TRUE(counter.StopThread());  // a second stop has nothing to do
}

}  // namespace
