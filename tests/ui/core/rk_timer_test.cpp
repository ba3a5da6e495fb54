#include "core/rk_timer.h"

#include <gtest/gtest.h>

#include <mmsystem.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "wait_until.h"

namespace {

using Orvik::RKTimer;

// Counts its ticks per timer id, notes the thread they come on, and can stay inside
// a tick for a while so a tick in progress can be caught.
class Ticker : public RKTimer {
public:
    explicit Ticker(DWORD stayInTick = 0) : stayInTick_(stayInTick) {}
    ~Ticker() override { KillTimer(); }

    void OnMTimer(unsigned id) override {
        {
            const std::lock_guard hold(lock_);
            ++ticks_[id];
        }
        if (::GetCurrentThreadId() == uiThread_) {
            ++ticksOnUiThread;
        }
        if (stayInTick_ != 0) {
            inTick = true;
            ::Sleep(stayInTick_);
            inTick = false;
        }
    }
    void OnMTimer(unsigned id, const std::wstring& name) override {
        const std::lock_guard hold(lock_);
        named_.push_back({id, name});
    }

    int Ticks(unsigned id) {
        const std::lock_guard hold(lock_);
        return ticks_[id];
    }
    std::vector<std::pair<unsigned, std::wstring>> Named() {
        const std::lock_guard hold(lock_);
        return named_;
    }

    std::atomic<int> ticksOnUiThread{0};
    std::atomic<bool> inTick{false};

private:
    const DWORD uiThread_ = ::GetCurrentThreadId();
    const DWORD stayInTick_;
    std::mutex lock_;
    std::map<unsigned, int> ticks_;
    std::vector<std::pair<unsigned, std::wstring>> named_;
};

// Bounds waits for ticks that a loaded machine may deliver late; never a measure.
constexpr std::chrono::seconds kTickDeadline{30};

// An id no timer of the test holds.
unsigned UnusedId(std::initializer_list<unsigned> used) { return std::max(used) + 1000; }

TEST(RKTimer, TicksComeOnTheTimerThreadAtAboutTheIntervalAndStopWithKillTimer) {
    Ticker ticker;
    const auto start = std::chrono::steady_clock::now();
    const unsigned id = ticker.SetTimer(10, L"ten", 0);
    ASSERT_NE(id, 0u);
    // Thirty ticks show a periodic timer; how soon they come depends on the load.
    const bool periodic = WaitUntil([&] { return ticker.Ticks(id) >= 30; }, kTickDeadline);
    EXPECT_EQ(ticker.KillTimer(id), 0);
    const auto elapsed =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
    const int ticked = ticker.Ticks(id);
    EXPECT_TRUE(periodic) << ticked << " ticks";
    // A late timer catches up but never ticks more often than its interval: about
    // one tick per 10 ms of the wait, and twice that only for a timer far off.
    EXPECT_LE(ticked, 2 * elapsed / 10 + 2) << "in " << elapsed << " ms";
    EXPECT_EQ(ticker.ticksOnUiThread, 0);
    ::Sleep(100);
    EXPECT_EQ(ticker.Ticks(id), ticked) << "ticks after KillTimer returned";

    // The resolution came from the timer device.
    TIMECAPS caps{};
    ASSERT_EQ(::timeGetDevCaps(&caps, sizeof(caps)), static_cast<MMRESULT>(TIMERR_NOERROR));
    EXPECT_EQ(RKTimer::m_bIsTmierOK, 1);
    EXPECT_GE(RKTimer::m_uAccuracy, std::max(caps.wPeriodMin, 1u));
    EXPECT_LE(RKTimer::m_uAccuracy, caps.wPeriodMax);
}

TEST(RKTimer, KillTimerWaitsForATickInProgress) {
    Ticker ticker(50);
    const unsigned id = ticker.SetTimer(5, L"slow", 0);
    ASSERT_NE(id, 0u);
    ASSERT_TRUE(WaitUntil([&] { return ticker.inTick.load(); }, kTickDeadline)) << "no tick came";
    ticker.KillTimer(id);
    EXPECT_FALSE(ticker.inTick);
    const int ticked = ticker.Ticks(id);
    ::Sleep(100);
    EXPECT_EQ(ticker.Ticks(id), ticked);
}

TEST(RKTimer, ApplicationTimersAlsoTickWithTheirName) {
    Ticker ticker;
    const unsigned app = ticker.SetTimer(10, L"app", 1);
    const unsigned plain = ticker.SetTimer(10, L"plain", 0);
    ASSERT_NE(app, 0u);
    ASSERT_NE(plain, 0u);
    // Two named ticks: the first may go unnamed, but not every one.
    const bool ticked = WaitUntil([&] { return ticker.Ticks(plain) > 0 && ticker.Named().size() >= 2; }, kTickDeadline);
    ticker.KillTimer();
    EXPECT_TRUE(ticked) << ticker.Ticks(plain) << " plain ticks, " << ticker.Named().size() << " named";
    const auto named = ticker.Named();
    // The first tick may beat the record and go unnamed; the rest are named.
    EXPECT_GE(static_cast<int>(named.size()), ticker.Ticks(app) - 1);
    EXPECT_GT(named.size(), 0u);
    for (const auto& [id, name] : named) {
        EXPECT_EQ(id, app);
        EXPECT_EQ(name, L"app");
    }
}

TEST(RKTimer, RecordsAnswerByIdAndNameAndGoFirstMatchFirst) {
    Ticker ticker;
    // Long intervals: only the records are looked at here.
    const unsigned first = ticker.SetTimer(60000, L"first", 1);
    const unsigned twin1 = ticker.SetTimer(60000, L"twin", 0);
    const unsigned twin2 = ticker.SetTimer(60000, L"twin", 0);
    ASSERT_NE(first, 0u);
    ASSERT_NE(twin1, 0u);
    ASSERT_NE(twin2, 0u);
    const unsigned unused = UnusedId({first, twin1, twin2});

    EXPECT_EQ(ticker.GetTimerIsRun(first), 1);
    EXPECT_EQ(ticker.GetTimerIsRun(unused), 0);
    EXPECT_EQ(ticker.GetTimerIsRun(L"twin"), 1);
    EXPECT_EQ(ticker.GetTimerIsRun(L"none"), 0);
    EXPECT_EQ(ticker.GetTimerName(first), L"first");
    EXPECT_EQ(ticker.GetTimerName(unused), L"");
    EXPECT_EQ(ticker.IsAppTimer(first), 1);
    EXPECT_EQ(ticker.IsAppTimer(twin1), 0);
    EXPECT_EQ(ticker.IsAppTimer(unused), 0);

    EXPECT_EQ(ticker.KillTimer(L"twin"), 2);
    EXPECT_EQ(ticker.GetTimerIsRun(twin1), 0);
    EXPECT_EQ(ticker.GetTimerIsRun(twin2), 1);
    EXPECT_EQ(ticker.KillTimer(unused), 2);
    EXPECT_EQ(ticker.KillTimer(L"none"), 2);
    EXPECT_EQ(ticker.KillTimer(first), 1);
    ticker.KillTimer();
    EXPECT_EQ(ticker.GetTimerIsRun(twin2), 0);
    EXPECT_EQ(ticker.GetTimerIsRun(L"twin"), 0);
}

TEST(RKTimer, RefusedTimerIsRecordedWithIdZeroAndNeverTicks) {
    Ticker ticker;
    // Below the shortest delay the timer device takes.
    EXPECT_EQ(ticker.SetTimer(0, L"no delay", 0), 0u);
    EXPECT_EQ(ticker.GetTimerIsRun(L"no delay"), 1);
    EXPECT_EQ(ticker.GetTimerName(0), L"no delay");
    ::Sleep(50);
    EXPECT_EQ(ticker.Ticks(0), 0);
    EXPECT_EQ(ticker.KillTimer(0u), 0);
}

TEST(RKTimer, GetFSTimerFindsTheObjectHoldingAnId) {
    Ticker kept;
    auto gone = std::make_unique<Ticker>();
    const unsigned keptId = kept.SetTimer(60000, L"", 0);
    const unsigned goneId = gone->SetTimer(60000, L"", 0);
    ASSERT_NE(keptId, 0u);
    ASSERT_NE(goneId, 0u);
    EXPECT_EQ(RKTimer::GetFSTimer(keptId), &kept);
    EXPECT_EQ(RKTimer::GetFSTimer(goneId), gone.get());
    EXPECT_EQ(RKTimer::GetFSTimer(UnusedId({keptId, goneId})), nullptr);

    gone.reset();
    EXPECT_EQ(RKTimer::GetFSTimer(goneId), nullptr);
    EXPECT_EQ(RKTimer::GetFSTimer(keptId), &kept);
    kept.KillTimer(keptId);
    EXPECT_EQ(RKTimer::GetFSTimer(keptId), nullptr);
}

}  // namespace
