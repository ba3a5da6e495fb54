#include "controls/mcontrol.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "core/gdi_handles.h"
#include "core/paint_manager.h"
#include "gdiplus_session.h"
#include "test_controls_win.h"

namespace {

using Orvik::CPoint;
using Orvik::CRect;
using Orvik::MControl;

// An owner that writes down the redraw requests it gets.
class RecordingOwner : public Orvik::MObject {
public:
    struct Report {
        CRect rect;
        int redraw;
        bool operator==(const Report&) const = default;
    };
    long OnControlUpdate(CRect rect, int redraw, MControl*) override {
        reports.push_back({rect, redraw});
        return 0;
    }
    std::vector<Report> reports;
};

using Report = RecordingOwner::Report;

class ControlReports : public GdiplusSuite {
protected:
    RecordingOwner owner_;
};

TEST_F(ControlReports, VisibilityIsReportedOnlyWhenItChanges) {
    GdiBlock control(&owner_, 1, CRect{0, 0, 10, 10}, 0);
    control.SetVisible(1);
    EXPECT_TRUE(owner_.reports.empty());
    control.SetVisible(0);
    control.SetVisible(0);
    EXPECT_EQ(owner_.reports, (std::vector<Report>{{CRect{0, 0, 10, 10}, 1}}));
    control.SetVisible(1, 0);  // told not to
    EXPECT_EQ(owner_.reports.size(), 1u);
    EXPECT_EQ(control.IsVisible(), 1);
}

TEST_F(ControlReports, MovingReportsTheUnionOfOldAndNew) {
    GdiBlock control(&owner_, 1, CRect{0, 0, 10, 10}, 0);
    control.SetRect(CRect{20, 0, 30, 10});
    EXPECT_EQ(owner_.reports, (std::vector<Report>{{CRect{0, 0, 30, 10}, 1}}));
    control.SetRect(5, 5, 10, 20);
    EXPECT_EQ(control.GetRect(), (CRect{5, 5, 15, 25}));
    EXPECT_EQ(owner_.reports.back(), (Report{CRect{5, 0, 30, 25}, 1}));

    GdiBlock hidden(&owner_, 2, CRect{0, 0, 10, 10}, 0);
    hidden.SetVisible(0, 0);
    owner_.reports.clear();
    hidden.SetRect(CRect{20, 0, 30, 10});
    hidden.SetEnabled(0);
    EXPECT_TRUE(owner_.reports.empty());
    EXPECT_EQ(hidden.GetRect(), (CRect{20, 0, 30, 10}));
    hidden.UpdateControl(0, 1);  // forced
    EXPECT_EQ(owner_.reports, (std::vector<Report>{{CRect{20, 0, 30, 10}, 0}}));
}

struct HitCase {
    bool visible;
    CPoint point;
    int inside;
};

class PtInRectTest : public testing::TestWithParam<HitCase> {};

TEST_P(PtInRectTest, RightAndBottomEdgesAreOutside) {
    RecordingOwner owner;
    GdiBlock control(&owner, 1, CRect{0, 0, 10, 10}, 0);
    control.SetVisible(GetParam().visible ? 1 : 0);
    EXPECT_EQ(control.PtInRect(GetParam().point), GetParam().inside);
}

INSTANTIATE_TEST_SUITE_P(Table, PtInRectTest,
                         testing::Values(HitCase{true, {9, 5}, 1}, HitCase{true, {10, 5}, 0}, HitCase{true, {5, 10}, 0},
                                         HitCase{true, {0, 0}, 1}, HitCase{true, {-1, 5}, 0},
                                         HitCase{false, {5, 5}, 0}));

TEST_F(ControlReports, LookupGoesThroughNormalChildrenBeforeAreas) {
    GdiBlock parent(&owner_, 1, CRect{0, 0, 100, 100}, 0);
    auto area = std::make_unique<GdiBlock>(&parent, 7, CRect{}, 0);
    auto normal = std::make_unique<GdiBlock>(&parent, 2, CRect{}, 0);
    auto grandchild = std::make_unique<GdiBlock>(normal.get(), 7, CRect{}, 0);
    MControl* wanted = grandchild.get();
    normal->AddControl(std::move(grandchild));
    parent.AddAreaControl(std::move(area));  // filed first, still found second
    parent.AddControl(std::move(normal));
    EXPECT_EQ(parent.GetControl(7), wanted);
    EXPECT_EQ(parent.GetControl(99), nullptr);
    EXPECT_TRUE(parent.Contains(wanted));
}

TEST_F(ControlReports, DoubleClickIsASecondPressWithoutTheFlag) {
    GdiBlock control(&owner_, 1, CRect{0, 0, 10, 10}, 0);
    control.OnLButtonDown(0, CPoint{5, 5});
    control.OnLButtonUp(0, CPoint{5, 5});
    control.OnLButtonDblClk(0, CPoint{5, 5});
    EXPECT_EQ(control.presses, 2);
    EXPECT_EQ(control.doubleClicks, 0);

    control.SetDblClk(1);
    control.OnLButtonDblClk(0, CPoint{5, 5});
    EXPECT_EQ(control.presses, 2);
    EXPECT_EQ(control.doubleClicks, 1);
}

TEST_F(ControlReports, ClicksGoToTheLastChildUnderThePointer) {
    GdiBlock parent(&owner_, 1, CRect{0, 0, 100, 100}, 0);
    auto lower = std::make_unique<GdiBlock>(&parent, 3, CRect{0, 0, 50, 50}, 0);
    auto upper = std::make_unique<GdiBlock>(&parent, 4, CRect{20, 20, 70, 70}, 0);
    GdiBlock* lowerRaw = lower.get();
    GdiBlock* upperRaw = upper.get();
    parent.AddControl(std::move(lower));
    parent.AddControl(std::move(upper));
    EXPECT_EQ(parent.OnLButtonDown(0, CPoint{30, 30}), 1);
    EXPECT_EQ(upperRaw->presses, 1);
    EXPECT_EQ(lowerRaw->presses, 0);
    // The child's own double-click flag decides for it too.
    EXPECT_EQ(parent.OnLButtonDblClk(0, CPoint{30, 30}), 1);
    EXPECT_EQ(upperRaw->presses, 2);
    EXPECT_EQ(parent.presses, 0);

    // A control without mouse response takes nothing.
    parent.SetRresponse(0);
    EXPECT_EQ(parent.GetRresponse(), 0);
    EXPECT_EQ(parent.OnLButtonDown(0, CPoint{30, 30}), 0);
    EXPECT_EQ(upperRaw->presses, 2);
}

TEST_F(ControlReports, RemovingTheHotChildLeavesNothingToRouteTo) {
    GdiBlock parent(&owner_, 1, CRect{0, 0, 100, 100}, 0);
    auto child = std::make_unique<GdiBlock>(&parent, 3, CRect{0, 0, 50, 50}, 0);
    GdiBlock* childRaw = child.get();
    parent.AddControl(std::move(child));
    parent.OnLButtonDown(0, CPoint{10, 10});
    ASSERT_EQ(childRaw->presses, 1);
    parent.RemoveControl(childRaw);
    // The release would otherwise reach the deleted child.
    EXPECT_EQ(parent.OnLButtonUp(0, CPoint{10, 10}), 0);
    EXPECT_EQ(parent.GetControl(3), nullptr);
}

TEST_F(ControlReports, ClickMovesTheFocusMark) {
    Orvik::PaintManager manager;
    GdiBlock first(&owner_, 1, CRect{0, 0, 10, 10}, 0);
    GdiBlock second(&owner_, 2, CRect{20, 0, 30, 10}, 0);
    first.SetManager(&manager);
    second.SetManager(&manager);
    first.OnLButtonDown(0, CPoint{5, 5});
    EXPECT_EQ(manager.GetFocusControl(), &first);
    EXPECT_EQ(first.lastFocus, 1);
    EXPECT_EQ(first.IsFocusControl(), 1);
    second.OnLButtonDown(0, CPoint{25, 5});
    EXPECT_EQ(manager.GetFocusControl(), &second);
    EXPECT_EQ(first.lastFocus, 0);
    EXPECT_EQ(second.lastFocus, 1);
    manager.SetFocusControl(nullptr);
}

struct CursorCase {
    const wchar_t* name;
    const wchar_t* cursor;  // null: left as it was
};

class SetCursorExTest : public testing::TestWithParam<CursorCase> {};

TEST_P(SetCursorExTest, NamesAreExactAndLowerCase) {
    RecordingOwner owner;
    GdiBlock control(&owner, 1, CRect{0, 0, 10, 10}, 0);
    control.SetCursorEx(L"cross");
    const HCURSOR before = control.GetCursor();
    EXPECT_EQ(control.SetCursorEx(GetParam().name), 0);
    const HCURSOR expected = GetParam().cursor ? ::LoadCursorW(nullptr, GetParam().cursor) : before;
    EXPECT_EQ(control.GetCursor(), expected);
}

INSTANTIATE_TEST_SUITE_P(Table, SetCursorExTest,
                         testing::Values(CursorCase{L"arrow", IDC_ARROW}, CursorCase{L"wait", IDC_WAIT},
                                         CursorCase{L"sizewe", IDC_SIZEWE}, CursorCase{L"sizens", IDC_SIZENS},
                                         CursorCase{L"hand", IDC_HAND}, CursorCase{L"help", IDC_HELP},
                                         CursorCase{L"HAND", nullptr}, CursorCase{L"hand ", nullptr},
                                         CursorCase{L"", nullptr}, CursorCase{nullptr, nullptr}));

TEST_F(ControlReports, CursorIsSetOnlyOverTheControl) {
    GdiBlock control(&owner_, 1, CRect{0, 0, 10, 10}, 0);
    EXPECT_EQ(control.OnControlSetCursor(0, CPoint{5, 5}), 0);  // none chosen
    control.SetCursorEx(L"hand");
    EXPECT_EQ(control.OnControlSetCursor(0, CPoint{15, 5}), 0);
    EXPECT_EQ(control.OnControlSetCursor(0, CPoint{5, 5}), 1);
    EXPECT_EQ(::GetCursor(), ::LoadCursorW(nullptr, IDC_HAND));
}

// Exposes the kept surface of a control.
class SurfaceProbe : public GdiBlock {
public:
    using GdiBlock::GdiBlock;
    using GdiBlock::MemoryDC;
};

TEST_F(ControlReports, SurfaceIsRemadeOnlyWhenItsSizeChanges) {
    SurfaceProbe control(&owner_, 1, CRect{0, 0, 10, 10}, 0);
    const Orvik::UniqueWindowDC borrowed = Orvik::BorrowDC(nullptr);
    HDC screen = borrowed.Get().dc;
    control.UpdateMemDC(screen, 10, 10);
    const HDC first = control.MemoryDC();
    const HBITMAP firstBitmap = static_cast<HBITMAP>(::GetCurrentObject(first, OBJ_BITMAP));
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(control.GetUpdate(), 1);
    control.SetUpdate(0, 0);
    control.UpdateMemDC(screen, 10, 10);
    EXPECT_EQ(control.MemoryDC(), first);
    EXPECT_EQ(::GetCurrentObject(control.MemoryDC(), OBJ_BITMAP), firstBitmap);
    control.UpdateMemDC(screen, 20, 10);
    BITMAP size = {};
    ::GetObjectW(::GetCurrentObject(control.MemoryDC(), OBJ_BITMAP), sizeof(size), &size);
    EXPECT_EQ(size.bmWidth, 20);
    EXPECT_EQ(size.bmHeight, 10);
}

TEST_F(ControlReports, KeysGoDownToTheFocusedChildAndItsAccelerator) {
    GdiBlock parent(&owner_, 1, CRect{0, 0, 100, 100}, 0);
    auto first = std::make_unique<GdiBlock>(&parent, 2, CRect{}, 0);
    auto second = std::make_unique<GdiBlock>(&parent, 3, CRect{}, 0);
    GdiBlock* firstRaw = first.get();
    GdiBlock* secondRaw = second.get();
    parent.AddControl(std::move(first));
    parent.AddControl(std::move(second));
    firstRaw->SetAccelerator('A', 0x11);
    secondRaw->SetAccelerator('B', 0);
    EXPECT_EQ(parent.OnKeyDown('A', 1, 0x11), 1);  // offered to the children in turn
    EXPECT_EQ(parent.OnKeyDown('A', 1, 0), 0);     // the modifier code must match too
    secondRaw->SetFocused(1);
    // With a focused child the key stays down there: the other child's key is not seen.
    EXPECT_EQ(parent.OnKeyDown('B', 1, 0), 1);
    EXPECT_EQ(parent.OnKeyDown('A', 1, 0x11), 0);
}

TEST_F(ControlReports, TimerTicksReachVisibleChildrenThatAskForThem) {
    GdiBlock parent(&owner_, 1, CRect{0, 0, 100, 100}, 0);
    std::vector<GdiBlock*> children;
    for (unsigned id : {2u, 3u, 4u}) {
        auto child = std::make_unique<GdiBlock>(&parent, id, CRect{}, 0);
        children.push_back(child.get());
        parent.AddControl(std::move(child));
    }
    children[0]->SetRunTimer(1);
    children[1]->SetRunTimer(1);
    children[1]->SetVisible(0, 0);
    parent.OnTimer();
    EXPECT_EQ(parent.ticks, 1);
    EXPECT_EQ(children[0]->ticks, 1);
    EXPECT_EQ(children[1]->ticks, 0);  // hidden
    EXPECT_EQ(children[2]->ticks, 0);  // not asking
}

TEST_F(ControlReports, StaleMarkReachesOverlappingChildrenOnly) {
    GdiBlock parent(&owner_, 1, CRect{0, 0, 50, 50}, 0);
    auto inside = std::make_unique<GdiBlock>(&parent, 2, CRect{10, 10, 20, 20}, 0);
    auto outside = std::make_unique<GdiBlock>(&parent, 3, CRect{60, 60, 70, 70}, 0);
    GdiBlock* insideRaw = inside.get();
    GdiBlock* outsideRaw = outside.get();
    parent.AddControl(std::move(inside));
    parent.AddControl(std::move(outside));
    parent.SetUpdate(1, 0);
    EXPECT_EQ(insideRaw->GetUpdate(), 1);
    EXPECT_EQ(outsideRaw->GetUpdate(), 0);
}

}  // namespace
