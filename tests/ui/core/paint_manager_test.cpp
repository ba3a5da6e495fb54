#include "core/paint_manager.h"

#include <gtest/gtest.h>

#include <ole2.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <vector>

#include "canvas_win.h"
#include "controls/mcontrol.h"
#include "core/gdiplus_hold_win.h"
#include "core/manager.h"
#include "core/rect_win.h"
#include "gdiplus_session.h"
#include "image_fixtures_win.h"
#include "painted_window_win.h"
#include "skin_file_win.h"
#include "test_controls_win.h"

namespace {

using Orvik::CRect;

constexpr int kLeft = 100;
constexpr int kTop = 100;
constexpr int kWidth = 400;
constexpr int kHeight = 250;
const CRect kScreenRect{kLeft, kTop, kLeft + kWidth, kTop + kHeight};
constexpr COLORREF kBackdrop = RGB(0x20, 0x40, 0x80);

bool Near(DWORD argb, COLORREF expected, int tolerance = 2) {
    return std::abs(Red(argb) - GetRValue(expected)) <= tolerance &&
           std::abs(Green(argb) - GetGValue(expected)) <= tolerance &&
           std::abs(Blue(argb) - GetBValue(expected)) <= tolerance;
}

// What the screen shows of the test window, client coordinates.
std::unique_ptr<Canvas> ReadWindow() { return ReadScreen(kLeft, kTop, kWidth, kHeight); }

class PaintManagerTest : public GdiplusSuite {
protected:
    // A plain window of one colour behind the window under test, so holes show it.
    void OpenBackdrop() {
        ASSERT_TRUE(backdrop_.Open(kScreenRect, false));
        backdrop_.Manager().SetBackColor(kBackdrop, kBackdrop);
        backdrop_.PaintNow();
    }
    PaintedWindow backdrop_;
};

struct Probe {
    const char* what;
    int x;
    int y;
    COLORREF expected;
};

TEST_F(PaintManagerTest, LayeredOutputKeepsHolesAndMakesGdiDrawingOpaque) {
    OpenBackdrop();
    PaintedWindow window;
    ASSERT_TRUE(window.Open(kScreenRect, true));
    window.Add<ArgbBlock>(1u, CRect{10, 10, 30, 30}, 0x00000000);       // hole
    window.Add<ArgbBlock>(2u, CRect{40, 10, 60, 30}, 0x0000FF00);       // colour, alpha 0
    window.Add<ArgbBlock>(3u, CRect{70, 10, 90, 30}, 0xFF000000);       // opaque black
    window.Add<GdiBlock>(4u, CRect{100, 10, 120, 30}, RGB(255, 0, 0));  // GDI leaves alpha 0
    window.PaintNow();
    window.Pump(50);
    const auto screen = ReadWindow();
    const Probe probes[] = {
        {"transparent black shows what is behind", 20, 20, kBackdrop},
        {"green with alpha 0 is made opaque", 50, 20, RGB(0, 255, 0)},
        {"opaque black stays black", 80, 20, RGB(0, 0, 0)},
        {"GDI red is made opaque", 110, 20, RGB(255, 0, 0)},
        {"border of the plain background", 0, 0, RGB(0x64, 0x64, 0x64)},
        {"fill of the plain background", 200, 200, RGB(0xC8, 0xC8, 0xC8)},
        {"bottom-right border pixel", kWidth - 1, kHeight - 1, RGB(0x64, 0x64, 0x64)},
    };
    for (const Probe& probe : probes) {
        EXPECT_TRUE(Near(screen->Pixel(probe.x, probe.y), probe.expected))
            << probe.what << ": " << std::hex << screen->Pixel(probe.x, probe.y);
    }
    EXPECT_TRUE(::GetWindowLongW(window.GetSafeHwnd(), GWL_EXSTYLE) & WS_EX_LAYERED);
}

TEST_F(PaintManagerTest, PlainOutputCopiesOnlyTheUpdateRectangle) {
    PaintedWindow window;
    ASSERT_TRUE(window.Open(kScreenRect, false));
    window.Manager().SetBackColor(RGB(10, 20, 30), RGB(200, 100, 50));
    auto* block = window.Add<ArgbBlock>(1u, CRect{10, 10, 50, 50}, 0x00FF0000);
    window.PaintNow();
    block->SetArgb(0x000000FF);
    const RECT leftHalf{0, 0, 30, kHeight};
    ::InvalidateRect(window.GetSafeHwnd(), &leftHalf, FALSE);
    ::UpdateWindow(window.GetSafeHwnd());
    window.Pump(30);
    const auto screen = ReadWindow();
    EXPECT_TRUE(Near(screen->Pixel(20, 20), RGB(0, 0, 255))) << std::hex << screen->Pixel(20, 20);
    EXPECT_TRUE(Near(screen->Pixel(40, 20), RGB(255, 0, 0))) << std::hex << screen->Pixel(40, 20);
    // Without the layered style nothing is a hole: no alpha reaches the screen.
    EXPECT_FALSE(::GetWindowLongW(window.GetSafeHwnd(), GWL_EXSTYLE) & WS_EX_LAYERED);
    EXPECT_TRUE(Near(screen->Pixel(0, 0), RGB(200, 100, 50)));
    EXPECT_TRUE(Near(screen->Pixel(100, 100), RGB(10, 20, 30)));
}

TEST_F(PaintManagerTest, BackgroundImageIsStretchedOverTheClientArea) {
    SkinFile file(L"img_paint_background");
    ASSERT_TRUE(SavePng(file.Path(), 40, 20, [](int x, int) { return x < 20 ? 0xFFFF0000 : 0xFF0000FF; }));
    PaintedWindow window;
    ASSERT_TRUE(window.Open(kScreenRect, true));
    EXPECT_EQ(window.Manager().LoadBKImage(L"missing.png"), 0);
    ASSERT_EQ(window.Manager().LoadBKImage(file.Name()), 1);
    window.PaintNow();
    window.Pump(30);
    const auto screen = ReadWindow();
    // Halves of the image, away from where the stretch blends them.
    EXPECT_TRUE(Near(screen->Pixel(100, 125), RGB(255, 0, 0))) << std::hex << screen->Pixel(100, 125);
    EXPECT_TRUE(Near(screen->Pixel(300, 125), RGB(0, 0, 255))) << std::hex << screen->Pixel(300, 125);
}

// Pixels of `box` close to the overlay's text colour.
int CoveredPixels(const Canvas& canvas, CRect box) {
    int covered = 0;
    for (int y = box.top; y < box.bottom; ++y) {
        for (int x = box.left; x < box.right; ++x) {
            covered += Near(canvas.Pixel(x, y), RGB(0xFB, 0xFB, 0xFB), 4) ? 1 : 0;
        }
    }
    return covered;
}

// Whether the two renderings agree on every pixel of `box`.
bool SamePixels(const Canvas& a, const Canvas& b, CRect box) {
    for (int y = box.top; y < box.bottom; ++y) {
        for (int x = box.left; x < box.right; ++x) {
            if (Rgb(a.Pixel(x, y)) != Rgb(b.Pixel(x, y))) {
                return false;
            }
        }
    }
    return true;
}

class ReadingsOverlayTest : public PaintManagerTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(window_.Open(kScreenRect, true));
        window_.Manager().SetBackColor(RGB(0x20, 0x20, 0x20), RGB(0x20, 0x20, 0x20));
        window_.Manager().EnableDrawInfo(1);
        ::SetCursorPos(0, 0);
    }
    void TearDown() override {
        Orvik::Manager::SetCPUTemp(0.0f);
        Orvik::Manager::SetCPUPower(0.0f);
    }
    std::unique_ptr<Canvas> Show(float temperature, float power) {
        Orvik::Manager::SetCPUTemp(temperature);
        Orvik::Manager::SetCPUPower(power);
        window_.PaintNow();
        window_.Pump(30);
        return ReadWindow();
    }
    PaintedWindow window_;
};

const CRect kTemperatureBox{45, 85, 165, 145};
const CRect kPowerBox{235, 85, 385, 145};

TEST_F(ReadingsOverlayTest, DigitsSitInsideTheirBoxesAndDropTheFraction) {
    const auto shown = Show(45.9f, 65.99f);
    EXPECT_GT(CoveredPixels(*shown, kTemperatureBox), 200);
    EXPECT_GT(CoveredPixels(*shown, kPowerBox), 200);
    // Nothing of the text outside the boxes.
    const int total = CoveredPixels(*shown, CRect{0, 0, kWidth, kHeight});
    EXPECT_EQ(total, CoveredPixels(*shown, kTemperatureBox) + CoveredPixels(*shown, kPowerBox));

    const auto whole = Show(45.0f, 65.0f);
    EXPECT_TRUE(SamePixels(*shown, *whole, kTemperatureBox));
    EXPECT_TRUE(SamePixels(*shown, *whole, kPowerBox));
    const auto next = Show(46.0f, 66.0f);
    EXPECT_FALSE(SamePixels(*shown, *next, kTemperatureBox));
    EXPECT_FALSE(SamePixels(*shown, *next, kPowerBox));
}

TEST_F(ReadingsOverlayTest, NegativeFractionShowsZero) {
    const auto negative = Show(-0.5f, 0.0f);
    const auto zero = Show(0.0f, 0.0f);
    EXPECT_TRUE(SamePixels(*negative, *zero, kTemperatureBox));
    EXPECT_GT(CoveredPixels(*zero, kTemperatureBox), 50);
}

TEST_F(ReadingsOverlayTest, HoverZoneIsOutlinedWhileThePointerIsInside) {
    auto outlined = [](const Canvas& canvas) {
        // The left and top edges of the outline, away from its corners.
        return Near(canvas.Pixel(275, 18), RGB(0xC8, 0xC8, 0xC8), 6) &&
               Near(canvas.Pixel(284, 10), RGB(0xC8, 0xC8, 0xC8), 6);
    };
    const auto away = Show(0.0f, 0.0f);
    EXPECT_FALSE(outlined(*away));
    ::SetCursorPos(kLeft + 280, kTop + 15);
    const auto inside = Show(0.0f, 0.0f);
    EXPECT_TRUE(outlined(*inside)) << std::hex << inside->Pixel(275, 18) << " " << inside->Pixel(284, 10);
    ::SetCursorPos(kLeft + 293, kTop + 15);  // the zone's right edge is outside
    const auto edge = Show(0.0f, 0.0f);
    EXPECT_FALSE(outlined(*edge));
    ::SetCursorPos(0, 0);
}

TEST_F(PaintManagerTest, MessagePanelHoldsThenFadesIntoTheBackground) {
    PaintedWindow window;
    ASSERT_TRUE(window.Open(kScreenRect, false));
    const COLORREF fill = RGB(0x40, 0x40, 0x40);
    window.Manager().SetBackColor(fill, fill);
    const CRect panel{50, 150, 350, 210};
    window.Manager().SetMessage(L"", panel, Orvik::MsgLevel{});
    window.Manager().SetMessage(L"Saved", panel, Orvik::MsgLevel{});
    // A point of the panel's inside away from its text.
    const int x = 320;
    const int y = 200;
    struct Sample {
        int alpha;
        int grey;  // what the screen shows
        DWORD at;  // milliseconds after the message was set
    };
    std::vector<Sample> seen;
    // Sampled until the panel has gone. Under load the timers come late, never
    // early, so the deadline only stops a panel that never goes.
    constexpr DWORD kDeadline = 60000;
    const DWORD start = ::GetTickCount();
    do {
        window.Pump(40);
        const int alpha = window.Manager().GetMessagePanel().Alpha();
        window.PaintNow();
        seen.push_back({alpha, Red(ReadScreen(kLeft + x, kTop + y, 1, 1)->Pixel(0, 0)), ::GetTickCount() - start});
    } while (seen.back().alpha != 0 && ::GetTickCount() - start < kDeadline);
    ASSERT_EQ(seen.back().alpha, 0) << "still shown after " << kDeadline << " ms";
    EXPECT_EQ(seen.back().grey, 0x40);
    EXPECT_EQ(seen.front().alpha, 255);
    EXPECT_NEAR(seen.front().grey, 0xFE, 2);

    const auto fading = std::find_if(seen.begin(), seen.end(), [](const Sample& s) { return s.alpha < 255; });
    ASSERT_NE(fading, seen.end());
    // The 3 s hold: the fade cannot have begun much before it ends.
    EXPECT_GE(fading->at, 2800u);
    int faded = 0;
    for (size_t i = 0; i < seen.size(); ++i) {
        const auto [alpha, grey, at] = seen[i];
        if (i > 0) {
            EXPECT_LE(alpha, seen[i - 1].alpha) << "alpha rose at " << at << " ms";
        }
        // The frame's 0xE6 and then the inside's 0xFE, each at `alpha` over what is
        // below; the panel is left out at 10 and below.
        auto over = [alpha](int top, int below) { return (top * alpha + below * (255 - alpha)) / 255; };
        const int expected = alpha > 10 ? over(0xFE, over(0xE6, 0x40)) : 0x40;
        EXPECT_NEAR(grey, expected, 3) << "alpha " << alpha;
        faded += alpha > 10 && alpha < 255 ? 1 : 0;
    }
    EXPECT_GE(faded, 1);  // seen part way through its fade
}

struct SpreadCase {
    const char* name;
    bool layered;
    bool reportLower;
    CRect invalid;
    int lowerRenders;
    int upperRenders;
};

class UpdateSpreadOnWindows : public PaintManagerTest, public testing::WithParamInterface<SpreadCase> {};

TEST_P(UpdateSpreadOnWindows, RefreshesWhatIsAboveAndInvalidatesTheUnion) {
    const SpreadCase& c = GetParam();
    PaintedWindow window;
    ASSERT_TRUE(window.Open(kScreenRect, c.layered));
    auto* lower = window.Add<GdiBlock>(1u, CRect{10, 10, 60, 60}, RGB(255, 0, 0));
    auto* upper = window.Add<GdiBlock>(2u, CRect{40, 40, 90, 90}, RGB(0, 0, 255));
    window.Add<GdiBlock>(3u, CRect{200, 10, 220, 30}, RGB(0, 255, 0));  // overlaps nothing
    window.PaintNow();
    ::ValidateRect(window.GetSafeHwnd(), nullptr);
    lower->renders = 0;
    upper->renders = 0;
    (c.reportLower ? lower : upper)->UpdateControl(1, 0);
    RECT invalid = {};
    ::GetUpdateRect(window.GetSafeHwnd(), &invalid, FALSE);
    EXPECT_EQ(Orvik::ToCRect(invalid), c.invalid);
    window.PaintNow();
    EXPECT_EQ(lower->renders, c.lowerRenders);
    EXPECT_EQ(upper->renders, c.upperRenders);
}

INSTANTIATE_TEST_SUITE_P(
    Table, UpdateSpreadOnWindows,
    testing::Values(SpreadCase{"TopmostOnlyItself", false, false, CRect{40, 40, 90, 90}, 0, 1},
                    SpreadCase{"BeneathBringsTheOneAbove", false, true, CRect{10, 10, 90, 90}, 1, 1},
                    SpreadCase{"LayeredRepaintsTheWholeWindow", true, true, CRect{0, 0, kWidth, kHeight}, 1, 1}),
    [](const testing::TestParamInfo<SpreadCase>& info) { return std::string(info.param.name); });

TEST_F(PaintManagerTest, EachPaintEndsWithAPause) {
    PaintedWindow window;
    ASSERT_TRUE(window.Open(kScreenRect, false));
    LARGE_INTEGER frequency;
    LARGE_INTEGER before;
    LARGE_INTEGER after;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&before);
    window.PaintNow();
    ::QueryPerformanceCounter(&after);
    EXPECT_GE((after.QuadPart - before.QuadPart) * 1000 / frequency.QuadPart, 15);
}

TEST_F(PaintManagerTest, DropTargetIsRegisteredUntilTheDataIsReleased) {
    PaintedWindow window;
    ASSERT_TRUE(window.Open(kScreenRect, false));
    Orvik::CIDropTarget other;
    EXPECT_EQ(::RegisterDragDrop(window.GetSafeHwnd(), &other), DRAGDROP_E_ALREADYREGISTERED);
    UINT vertical = 0;
    UINT horizontal = 0;
    window.Manager().GetScrollResID(vertical, horizontal);
    EXPECT_EQ(vertical, 102u);
    EXPECT_EQ(horizontal, 101u);
    window.Manager().DestroyData();
    EXPECT_EQ(::RevokeDragDrop(window.GetSafeHwnd()), DRAGDROP_E_NOTREGISTERED);
}

TEST_F(PaintManagerTest, RemovedOrClearedFocusControlLeavesNoPointerBehind) {
    PaintedWindow window;
    ASSERT_TRUE(window.Open(kScreenRect, false));
    Orvik::PaintManager& manager = window.Manager();
    auto* first = window.Add<GdiBlock>(1u, CRect{0, 0, 10, 10}, 0);
    EXPECT_EQ(first->OnLButtonDown(0, Orvik::CPoint{5, 5}), 1);  // a click takes the focus
    ASSERT_EQ(manager.GetFocusControl(), first);
    manager.RemoveControl(first);
    EXPECT_EQ(manager.GetFocusControl(), nullptr);

    // The focus on a child of a control that goes.
    auto* parent = window.Add<GdiBlock>(2u, CRect{0, 0, 50, 50}, 0);
    auto child = std::make_unique<GdiBlock>(parent, 3u, CRect{0, 0, 10, 10}, 0);
    GdiBlock* childRaw = child.get();
    child->SetManager(&manager);
    parent->AddControl(std::move(child));
    manager.SetFocusControl(childRaw);
    ASSERT_EQ(manager.GetFocusControl(), childRaw);
    manager.ClearControls();
    EXPECT_EQ(manager.GetFocusControl(), nullptr);
    EXPECT_EQ(manager.GetControl(3), nullptr);
}

TEST_F(PaintManagerTest, RemoveControlLeavesAreaControlsAlone) {
    PaintedWindow window;
    ASSERT_TRUE(window.Open(kScreenRect, false));
    auto area = std::make_unique<GdiBlock>(&window, 5u, CRect{0, 0, 10, 10}, 0);
    Orvik::MControl* raw = window.Manager().AddAreaControl(std::move(area));
    window.Manager().RemoveControl(raw);
    EXPECT_EQ(window.Manager().GetControl(5), raw);
}

// The program's order of exit: GDI+ is shut down before the dialog object goes.
// The library's own hold keeps GDI+ up for the dialog's images, fonts and controls.
TEST(PaintManagerExit, GdiplusOutlivesTheDialogWhateverTheProgramShutsDownFirst) {
    ULONG_PTR token = 0;
    const Gdiplus::GdiplusStartupInput input;
    ASSERT_EQ(Gdiplus::GdiplusStartup(&token, &input, nullptr), Gdiplus::Ok);
    ::CoInitialize(nullptr);
    ::OleInitialize(nullptr);
    const int before = Orvik::GdiplusHold::Holders();
    SkinFile strip(L"img_exit_strip");
    ASSERT_TRUE(strip.Write(40, 10));
    auto dialog = std::make_unique<PaintedWindow>();
    ASSERT_TRUE(dialog->Open(kScreenRect, true));
    auto* label = dialog->Add<StripLabel>(1u, CRect{10, 10, 110, 40}, L"Exit");
    ASSERT_EQ(label->SetImage(strip.Name().c_str(), 4), 1);
    dialog->PaintNow();
    ASSERT_EQ(label->Renders(), 1);
    EXPECT_EQ(Orvik::GdiplusHold::Holders(), before + 1);

    ::CoUninitialize();
    ::OleUninitialize();
    Gdiplus::GdiplusShutdown(token);
    // The dialog's GDI+ objects are still covered, and still work.
    EXPECT_EQ(Orvik::GdiplusHold::Holders(), before + 1);
    label->UpdateControl(1, 0);
    dialog->PaintNow();
    EXPECT_EQ(label->Renders(), 2);
    dialog.reset();
    EXPECT_EQ(Orvik::GdiplusHold::Holders(), before);
}

}  // namespace
