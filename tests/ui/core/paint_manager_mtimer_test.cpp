#include "core/paint_manager.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "controls/mcontrol.h"
#include "gdiplus_session.h"
#include "painted_window_win.h"
#include "test_controls_win.h"
#include "wait_until.h"

namespace {

using Orvik::CRect;

const CRect kScreenRect{100, 100, 300, 200};
// Bounds waits for ticks that a loaded machine may deliver late; never a measure.
constexpr std::chrono::milliseconds kTickDeadline{30000};

// The ticks of every control of a test, in the order they came.
class TickLog {
public:
    void Add(unsigned control) {
        const std::lock_guard hold(lock_);
        order_.push_back(control);
        if (::GetCurrentThreadId() == uiThread_) {
            ++onUiThread_;
        }
    }
    std::vector<unsigned> Order() {
        const std::lock_guard hold(lock_);
        return order_;
    }
    int Count(unsigned control) {
        const std::lock_guard hold(lock_);
        return static_cast<int>(std::count(order_.begin(), order_.end(), control));
    }
    int OnUiThread() {
        const std::lock_guard hold(lock_);
        return onUiThread_;
    }

private:
    const DWORD uiThread_ = ::GetCurrentThreadId();
    std::mutex lock_;
    std::vector<unsigned> order_;
    int onUiThread_ = 0;
};

// Logs its ticks and, like an animated control, asks for a redraw on each, after
// staying in the tick for `stay` milliseconds.
class TimedBlock : public GdiBlock {
public:
    TimedBlock(Orvik::MObject* owner, unsigned id, CRect rect, TickLog& log, DWORD stay = 0)
        : GdiBlock(owner, id, rect, RGB(0, 128, 0)), log_(log), stay_(stay) {}
    int OnControlTimer() override {
        log_.Add(GetControlID());
        if (stay_ != 0) {
            ::Sleep(stay_);
        }
        UpdateControl(1, 0);
        return 0;
    }

private:
    TickLog& log_;
    const DWORD stay_;
};

// Fast ticks ask for redraws faster than the window paints, and a pump serves
// paints for as long as they come: tests with fast ticks wait without pumping,
// since neither the ticks nor their invalidations need the window's thread.
class PaintManagerTimers : public GdiplusSuite {
protected:
    void SetUp() override { ASSERT_TRUE(window_.Open(kScreenRect, false)); }
    Orvik::PaintManager& Manager() { return window_.Manager(); }

    PaintedWindow window_;
    TickLog log_;
};

TEST_F(PaintManagerTimers, RegisteredControlsTickOnTheTimerThreadAndTheirRedrawsArePainted) {
    auto* timed = window_.Add<TimedBlock>(1u, CRect{10, 10, 40, 40}, log_);
    window_.Add<TimedBlock>(2u, CRect{50, 10, 80, 40}, log_);
    timed->AddMTimer();
    window_.Pump(100);
    const int paintsBefore = window_.paints;
    const int rendersBefore = timed->renders;

    Manager().SetMTimer(20);
    // Five ticks only show a timer that repeats, and their redraws painted.
    const bool tickedAndPainted = window_.PumpUntil(
        [&] { return log_.Count(1) >= 5 && window_.paints > paintsBefore && timed->renders > rendersBefore; },
        static_cast<int>(kTickDeadline.count()));
    Manager().KillMTimer();
    const int ticked = log_.Count(1);
    EXPECT_TRUE(tickedAndPainted) << ticked << " ticks, " << window_.paints - paintsBefore << " paints";
    EXPECT_EQ(log_.Count(2), 0) << "a control that never registered";
    EXPECT_EQ(log_.OnUiThread(), 0);

    window_.Pump(100);
    EXPECT_EQ(log_.Count(1), ticked) << "ticks after KillMTimer returned";
}

TEST_F(PaintManagerTimers, DeleteFSTimerRemovesOnlyTheFirstRegistration) {
    auto* a = window_.Add<TimedBlock>(1u, CRect{10, 10, 40, 40}, log_);
    auto* b = window_.Add<TimedBlock>(2u, CRect{50, 10, 80, 40}, log_);
    EXPECT_EQ(Manager().AddMTimer(a), 1);
    EXPECT_EQ(Manager().AddMTimer(b), 1);
    EXPECT_EQ(Manager().AddMTimer(a), 1);
    EXPECT_EQ(Manager().DeleteFSTimer(a), 1);  // a, b, a becomes b, a

    Manager().SetMTimer(5);
    const bool twoTicks = WaitUntil([&] { return log_.Order().size() >= 4; }, kTickDeadline);
    Manager().KillMTimer();
    ASSERT_TRUE(twoTicks);
    const std::vector<unsigned> order = log_.Order();
    ASSERT_EQ(order.size() % 2, 0u) << "a tick cut short";
    for (size_t i = 0; i < order.size(); ++i) {
        ASSERT_EQ(order[i], i % 2 == 0 ? 2u : 1u) << "at " << i;
    }

    EXPECT_EQ(Manager().DeleteFSTimer(a), 1);
    EXPECT_EQ(Manager().DeleteFSTimer(a), 0);
    EXPECT_EQ(Manager().DeleteFSTimer(b), 1);
    EXPECT_EQ(Manager().DeleteFSTimer(b), 0);
}

// A registered control at the top, a registered child inside a container, and a
// registered area control that stays.
struct TimedScene {
    TimedBlock* top;
    GdiBlock* parent;
    TimedBlock* child;
};

struct RemovalCase {
    const char* what;
    std::function<void(Orvik::PaintManager&, TimedScene&)> remove;
    std::vector<unsigned> gone;
};

// Removing while the timer runs: the removal waits for a tick in progress, and a
// tick that asks for a redraw takes the control locks, so a removal that held them
// while waiting would hang here. The ticks stay long enough that one is nearly
// always in progress. Every registered control has ticked before the removal, and
// the survivor ticks twice after it, so the removed ones had whole ticks to show up.
TEST_F(PaintManagerTimers, RemovedControlsAreNoLongerTicked) {
    const RemovalCase cases[] = {
        {"the control itself", [](Orvik::PaintManager& m, TimedScene& s) { m.RemoveControl(s.top); }, {1}},
        {"the container of a control", [](Orvik::PaintManager& m, TimedScene& s) { m.RemoveControl(s.parent); }, {4}},
        {"a child taken out of its container",
         [](Orvik::PaintManager&, TimedScene& s) { s.parent->RemoveControl(s.child); },
         {4}},
        {"clearing the normal controls", [](Orvik::PaintManager& m, TimedScene&) { m.ClearControls(); }, {1, 4}},
    };
    for (const RemovalCase& removal : cases) {
        SCOPED_TRACE(removal.what);
        PaintedWindow window;
        ASSERT_TRUE(window.Open(kScreenRect, false));
        Orvik::PaintManager& manager = window.Manager();
        TickLog log;
        TimedScene scene{};
        constexpr DWORD kStay = 2;
        scene.top = window.Add<TimedBlock>(1u, CRect{10, 10, 40, 40}, log, kStay);
        scene.parent = window.Add<GdiBlock>(3u, CRect{50, 10, 100, 60}, RGB(0, 0, 128));
        auto child = std::make_unique<TimedBlock>(scene.parent, 4u, CRect{55, 15, 70, 30}, log, kStay);
        scene.child = child.get();
        child->SetManager(&manager);
        scene.parent->AddControl(std::move(child));
        auto area = std::make_unique<TimedBlock>(&window, 9u, CRect{0, 0, 200, 100}, log, kStay);
        Orvik::MControl* survivor = manager.AddAreaControl(std::move(area));
        survivor->SetManager(&manager);
        const std::vector<std::pair<unsigned, Orvik::MControl*>> registered{
            {1, scene.top}, {4, scene.child}, {9, survivor}};
        for (const auto& entry : registered) {
            entry.second->AddMTimer();
        }

        manager.SetMTimer(1);
        ASSERT_TRUE(WaitUntil([&] { return log.Count(1) > 0 && log.Count(4) > 0 && log.Count(9) > 0; }, kTickDeadline))
            << "not every registered control ticked";
        removal.remove(manager, scene);
        std::vector<int> countsAtRemoval;
        for (const unsigned id : removal.gone) {
            countsAtRemoval.push_back(log.Count(id));
        }
        const int survivorAtRemoval = log.Count(9);
        const bool survivorTicks = WaitUntil([&] { return log.Count(9) >= survivorAtRemoval + 2; }, kTickDeadline);
        manager.KillMTimer();

        for (size_t i = 0; i < removal.gone.size(); ++i) {
            const unsigned id = removal.gone[i];
            EXPECT_GT(countsAtRemoval[i], 0) << "control " << id << " never ticked";
            EXPECT_EQ(log.Count(id), countsAtRemoval[i]) << "control " << id << " ticked after its removal";
            const auto entry =
                std::find_if(registered.begin(), registered.end(), [id](const auto& item) { return item.first == id; });
            EXPECT_EQ(manager.DeleteFSTimer(entry->second), 0) << "control " << id << " still registered";
        }
        EXPECT_TRUE(survivorTicks) << "the area control stopped ticking";
    }
}

TEST_F(PaintManagerTimers, ReleasingOrDestroyingTheManagerStopsItsTimer) {
    // Registered but owned by the test, so only the stopped timer keeps it quiet.
    TimedBlock outside(&window_, 1u, CRect{10, 10, 40, 40}, log_);
    outside.SetManager(&Manager());
    outside.AddMTimer();
    Manager().SetMTimer(5);
    EXPECT_TRUE(WaitUntil([&] { return log_.Count(1) > 0; }, kTickDeadline));
    Manager().DestroyData();
    const int atRelease = log_.Count(1);
    ::Sleep(100);
    EXPECT_EQ(log_.Count(1), atRelease) << "ticks after DestroyData";

    // A manager that never had a window still stops its timer when it goes.
    TickLog detachedLog;
    auto detached = std::make_unique<Orvik::PaintManager>();
    TimedBlock orphan(nullptr, 2u, CRect{0, 0, 10, 10}, detachedLog);
    detached->AddMTimer(&orphan);
    detached->SetMTimer(5);
    EXPECT_TRUE(WaitUntil([&] { return detachedLog.Count(2) > 0; }, kTickDeadline));
    detached.reset();
    const int atDestruction = detachedLog.Count(2);
    ::Sleep(100);
    EXPECT_EQ(detachedLog.Count(2), atDestruction) << "ticks after the manager was destroyed";
}

}  // namespace
