#include "controls/mcontrol_font.h"

#include <gtest/gtest.h>

#include <memory>

#include "canvas_win.h"
#include "core/manager.h"
#include "core/paint_manager.h"
#include "gdiplus_session.h"
#include "image_fixtures_win.h"
#include "painted_window_win.h"
#include "skin_file_win.h"
#include "test_controls_win.h"

namespace {

using Orvik::CRect;

// Counts the redraw requests that reach it.
class CountingOwner : public Orvik::MObject {
public:
    long OnControlUpdate(CRect, int redraw, Orvik::MControl*) override {
        reports += redraw ? 1 : 0;
        return 0;
    }
    int reports = 0;
};

class TextControls : public GdiplusSuite {
protected:
    CountingOwner owner_;
};

TEST_F(TextControls, TitleAndDefaults) {
    StripLabel label(&owner_, 1, CRect{0, 0, 10, 10}, nullptr);
    EXPECT_EQ(label.GetTitle(), L"");
    EXPECT_EQ(label.GetTextFont(), Orvik::Manager::GetFontName());
    EXPECT_EQ(label.GetFontWidth(), Orvik::Manager::GetFontWidth());
    unsigned horizontal = 9;
    unsigned vertical = 9;
    label.GetAlignment(horizontal, vertical);
    EXPECT_EQ(horizontal, 0u);
    EXPECT_EQ(vertical, 4u);

    label.SetTitle(L"Fan");
    EXPECT_EQ(label.GetTitle(), L"Fan");
    EXPECT_EQ(owner_.reports, 1);
    label.SetVisible(0, 0);
    label.SetTitle(L"Pump");
    EXPECT_EQ(owner_.reports, 1);  // hidden: stored, not reported
    EXPECT_EQ(label.GetTitle(), L"Pump");
}

TEST_F(TextControls, AlignmentIsReportedOnlyWhenItChanges) {
    StripLabel label(&owner_, 1, CRect{0, 0, 10, 10}, L"x");
    label.SetAlignment(1);
    label.SetAlignment(1);
    label.SetVAlignment(4);  // already centred
    EXPECT_EQ(owner_.reports, 1);
    label.SetAlignment(2, 8);
    label.SetAlignment(2, 8);
    EXPECT_EQ(owner_.reports, 2);
}

TEST_F(TextControls, GdiFontUsesTheLibraryFaceAndTheUnscaledSize) {
    StripLabel label(&owner_, 1, CRect{0, 0, 10, 10}, L"x");
    label.SetFont(L"Courier New", 28, static_cast<Gdiplus::FontStyle>(Gdiplus::FontStyleBold | Gdiplus::FontStyleItalic));
    EXPECT_EQ(label.GetTextFont(), L"Courier New");
    LOGFONTW stock = {};
    ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(stock), &stock);
    LOGFONTW made = {};
    ASSERT_EQ(::GetObjectW(label.GetGDIFont(), sizeof(made), &made), static_cast<int>(sizeof(made)));
    EXPECT_EQ(std::wstring(made.lfFaceName), Orvik::Manager::GetFontName());
    EXPECT_EQ(made.lfHeight, -28);
    EXPECT_EQ(made.lfWeight, stock.lfWeight + 700);
    EXPECT_TRUE(made.lfItalic);
    EXPECT_FALSE(made.lfUnderline);
    const HFONT cached = label.GetGDIFont();
    EXPECT_EQ(label.GetGDIFont(), cached);
    label.SetTitle(L"y");  // a new title makes a new font
    EXPECT_NE(label.GetGDIFont(), nullptr);
}

TEST_F(TextControls, ImagesNeedAPaintManager) {
    SkinFile file(L"img_text_strip");
    ASSERT_TRUE(file.Write(40, 10));
    StripLabel label(&owner_, 1, CRect{0, 0, 10, 10}, L"x");
    EXPECT_EQ(label.SetImage(file.Name().c_str(), 4), 0);
    EXPECT_EQ(label.GetImageSize().cx, 0);
    EXPECT_EQ(label.GetFontFamily(L"Arial"), nullptr);
}

TEST_F(TextControls, StripIsSharedAndTheFirstRequestSetsTheFrameWidth) {
    SkinFile file(L"img_text_shared");
    ASSERT_TRUE(file.Write(40, 10));
    Orvik::PaintManager manager;
    StripLabel four(&owner_, 1, CRect{0, 0, 10, 10}, L"x");
    StripLabel one(&owner_, 2, CRect{0, 0, 10, 10}, L"y");
    four.SetManager(&manager);
    one.SetManager(&manager);
    ASSERT_EQ(four.SetImage(file.Name().c_str(), 4), 1);
    ASSERT_EQ(one.SetImage(file.Name().c_str(), 1), 1);
    EXPECT_EQ(four.GetImageSize().cx, 10);
    EXPECT_EQ(one.GetImageSize().cx, 10);  // the record of the first request
    EXPECT_EQ(one.GetImageSize().cy, 10);
    EXPECT_EQ(owner_.reports, 2);
    EXPECT_EQ(one.SetImage(L"missing.png", 1), 0);
    EXPECT_EQ(one.GetImageSize().cx, 10);  // left as it was
}

// Renders a label alone into a canvas and returns the covered pixel count and canvas.
class TitleRendering : public TextControls {
protected:
    std::unique_ptr<Canvas> Render(StripLabel& label) {
        auto canvas = std::make_unique<Canvas>(200, 60, 0xFF000000);
        HDC dc = canvas->DC();
        label.SetUpdate(0, 0);
        label.Draw(dc, CRect{0, 0, 200, 60});
        canvas->Flush();
        return canvas;
    }
    static int Lit(const Canvas& canvas) {
        int lit = 0;
        for (int y = 0; y < canvas.Height(); ++y) {
            for (int x = 0; x < canvas.Width(); ++x) {
                lit += Rgb(canvas.Pixel(x, y)) != 0 ? 1 : 0;
            }
        }
        return lit;
    }
    static bool Same(const Canvas& a, const Canvas& b) {
        for (int y = 0; y < a.Height(); ++y) {
            for (int x = 0; x < a.Width(); ++x) {
                if (Rgb(a.Pixel(x, y)) != Rgb(b.Pixel(x, y))) {
                    return false;
                }
            }
        }
        return true;
    }
    void TearDown() override { Orvik::Manager::SetScaleValue(1.0f); }
    Orvik::PaintManager manager_;
};

TEST_F(TitleRendering, TitleIsDrawnInTheLibraryFaceWhateverTheControlNames) {
    StripLabel arial(&owner_, 1, CRect{0, 0, 200, 60}, L"Temp 42");
    StripLabel courier(&owner_, 2, CRect{0, 0, 200, 60}, L"Temp 42");
    arial.SetManager(&manager_);
    courier.SetManager(&manager_);
    arial.SetFont(L"Arial", 28, Gdiplus::FontStyleBold);
    courier.SetFont(L"Courier New", 28, Gdiplus::FontStyleBold);
    const auto a = Render(arial);
    const auto c = Render(courier);
    EXPECT_GT(Lit(*a), 100);
    EXPECT_TRUE(Same(*a, *c));
}

TEST_F(TitleRendering, EmSizeIsTheScaledSizeTruncated) {
    StripLabel scaled(&owner_, 1, CRect{0, 0, 200, 60}, L"Temp 42");
    StripLabel plain(&owner_, 2, CRect{0, 0, 200, 60}, L"Temp 42");
    StripLabel larger(&owner_, 3, CRect{0, 0, 200, 60}, L"Temp 42");
    for (StripLabel* label : {&scaled, &plain, &larger}) {
        label->SetManager(&manager_);
    }
    scaled.SetFontWidth(28);
    plain.SetFontWidth(35);
    larger.SetFontWidth(36);
    Orvik::Manager::SetScaleValue(1.26f);  // 35.28
    const auto s = Render(scaled);
    Orvik::Manager::SetScaleValue(1.0f);
    const auto p = Render(plain);
    const auto l = Render(larger);
    EXPECT_TRUE(Same(*s, *p));
    EXPECT_FALSE(Same(*s, *l));
}

TEST_F(TitleRendering, NewColourShowsAfterTheNextRedrawRequest) {
    PaintedWindow window;
    ASSERT_TRUE(window.Open(CRect{100, 100, 400, 200}, false));
    auto* label = window.Add<StripLabel>(1u, CRect{10, 10, 210, 70}, L"88888");
    label->SetFont(L"Arial", 40, Gdiplus::FontStyleBold);
    window.PaintNow();
    auto redPixels = [&] {
        const auto screen = ReadScreen(100, 100, 300, 100);
        int red = 0;
        for (int y = 10; y < 70; ++y) {
            for (int x = 10; x < 210; ++x) {
                const DWORD pixel = screen->Pixel(x, y);
                red += Red(pixel) > 0xF0 && Green(pixel) < 0x10 && Blue(pixel) < 0x10 ? 1 : 0;
            }
        }
        return red;
    };
    window.Pump(20);
    EXPECT_EQ(redPixels(), 0);
    label->SetTextColor(Gdiplus::Color(0xFFFF0000));
    window.PaintNow();  // the kept rendering is still white
    window.Pump(20);
    EXPECT_EQ(redPixels(), 0);
    label->UpdateControl(1, 0);
    window.PaintNow();
    window.Pump(20);
    EXPECT_GT(redPixels(), 100);
    EXPECT_EQ(label->Renders(), 2);
}

}  // namespace
