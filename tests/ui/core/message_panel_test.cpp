#include "core/message_panel.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Orvik::CRect;
using Orvik::MessagePanel;
using Start = MessagePanel::TimerStart;

const CRect kClient{0, 0, 400, 250};
const CRect kPanel{10, 10, 210, 70};

// Runs the timer that the panel last started until it stops, recording the values.
std::vector<int> RunTimer(MessagePanel& panel, unsigned id, int (MessagePanel::*value)() const) {
    std::vector<int> seen;
    for (int tick = 0; tick < 1000; ++tick) {
        const MessagePanel::Step step = panel.OnTimer(id);
        seen.push_back((panel.*value)());
        if (!step.stop.empty() && step.stop.front() == id) {
            break;
        }
    }
    return seen;
}

TEST(MessagePanel, MessageHoldsThreeSecondsThenFadesInStepsOfTen) {
    MessagePanel panel;
    const MessagePanel::Step set = panel.SetMessage(L"Saved", kPanel, 0);
    EXPECT_EQ(set.stop, (std::vector<unsigned>{66, 88}));
    EXPECT_EQ(set.start, (std::vector<Start>{{66, 3000}}));
    EXPECT_TRUE(set.repaintPanel);
    EXPECT_EQ(panel.Alpha(), 255);
    EXPECT_TRUE(panel.IsShown());

    const MessagePanel::Step hold = panel.OnTimer(66);
    EXPECT_EQ(hold.stop, (std::vector<unsigned>{66}));
    EXPECT_EQ(hold.start, (std::vector<Start>{{88, 50}}));
    EXPECT_EQ(panel.Alpha(), 255);

    const std::vector<int> alphas = RunTimer(panel, 88, &MessagePanel::Alpha);
    // 245, 235, ... 25, then 15 is below 20: gone after 24 ticks of 50 ms.
    ASSERT_EQ(alphas.size(), 24u);
    EXPECT_EQ(alphas.front(), 245);
    EXPECT_EQ(alphas[22], 25);
    EXPECT_EQ(alphas.back(), 0);
    EXPECT_FALSE(panel.IsShown());
}

TEST(MessagePanel, PaintedOnlyAboveAlphaTenWithText) {
    MessagePanel panel;
    EXPECT_FALSE(panel.IsShown());
    panel.SetMessage(L"", kPanel, 0);
    EXPECT_FALSE(panel.IsShown());  // nothing to say
}

TEST(MessagePanel, NewMessageWhileFadingRestoresFullOpacityAndTheHold) {
    MessagePanel panel;
    panel.SetMessage(L"First", kPanel, 0);
    panel.OnTimer(66);
    panel.OnTimer(88);
    panel.OnTimer(88);
    ASSERT_EQ(panel.Alpha(), 235);
    const MessagePanel::Step again = panel.SetMessage(L"Second", kPanel, 0);
    EXPECT_EQ(panel.Alpha(), 255);
    EXPECT_EQ(panel.Text(), L"Second");
    EXPECT_EQ(again.stop, (std::vector<unsigned>{66, 88}));
    EXPECT_EQ(again.start, (std::vector<Start>{{66, 3000}}));
}

TEST(MessagePanel, ProgressAnimatesByTwoAndKeepsThePanel) {
    MessagePanel panel;
    const MessagePanel::Step set = panel.SetProgress(50, L"Downloading", CRect{}, kClient);
    EXPECT_EQ(set.start, (std::vector<Start>{{99, 10}}));
    EXPECT_EQ(panel.Rect(), (CRect{0, 190, 400, 248}));  // no rectangle given
    const std::vector<int> progress = RunTimer(panel, 99, &MessagePanel::Progress);
    ASSERT_EQ(progress.size(), 25u);
    for (size_t i = 0; i < progress.size(); ++i) {
        EXPECT_EQ(progress[i], 2 * static_cast<int>(i + 1));
    }
    EXPECT_EQ(panel.Alpha(), 255);  // no fade below 100

    EXPECT_TRUE(panel.SetProgress(50, L"Downloading", CRect{}, kClient).start.empty());  // same value: nothing
}

TEST(MessagePanel, ProgressCloseToItsTargetJumpsAndFadesAtTheEnd) {
    MessagePanel panel;
    panel.SetProgress(96, L"Downloading", kPanel, kClient);
    RunTimer(panel, 99, &MessagePanel::Progress);
    ASSERT_EQ(panel.Progress(), 96);
    const MessagePanel::Step last = panel.SetProgress(100, L"Done", kPanel, kClient);
    EXPECT_EQ(panel.Progress(), 100);
    EXPECT_TRUE(last.repaintPanel);
    EXPECT_EQ(last.start, (std::vector<Start>{{88, 50}}));
    const std::vector<int> alphas = RunTimer(panel, 88, &MessagePanel::Alpha);
    EXPECT_EQ(alphas.back(), 0);
    EXPECT_EQ(panel.Progress(), 0);  // a faded panel starts over
}

TEST(MessagePanel, ProgressRestartingBelowFiveStopsAFade) {
    MessagePanel panel;
    panel.SetProgress(100, L"Done", kPanel, kClient);
    EXPECT_EQ(panel.SetProgress(2, L"Again", kPanel, kClient).stop, (std::vector<unsigned>{88}));
}

TEST(MessagePanel, OtherTimersChangeNothing) {
    MessagePanel panel;
    panel.SetMessage(L"Saved", kPanel, 0);
    const MessagePanel::Step step = panel.OnTimer(17);
    EXPECT_TRUE(step.stop.empty());
    EXPECT_TRUE(step.start.empty());
    EXPECT_FALSE(step.repaintPanel);
    EXPECT_EQ(panel.Alpha(), 255);
}

}  // namespace
