#include "pipeline/thread_basic_win.h"

#include <gtest/gtest.h>

#include <chrono>
#include <mutex>
#include <set>

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

protected:
    void Run() override {
        {
            std::lock_guard guard(lock_);
            threads_.insert(::GetCurrentThreadId());
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
    counter.StartThread(1, false);
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
    counter.stepMs = 2500;
    counter.interruptible = false;  // like a download that cannot be cut short
    counter.StartThread(16, true);
    ASSERT_TRUE(WaitUntil([&] { return counter.steps >= 1; }));
    EXPECT_FALSE(counter.StopThread());
    EXPECT_EQ(counter.running, 0);
    // The worker finishes its step against a live object, signals, and ends.
    ASSERT_EQ(::WaitForSingleObject(counter.doneEvent.Get(), 5000), WAIT_OBJECT_0);
    EXPECT_EQ(counter.steps, 1);
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
