#include <gtest/gtest.h>

#include <algorithm>

#include "canvas_win.h"
#include "render/mrender.h"
#include "render/text_bounds_rounding.h"

namespace {

using Orvik::CRect;
using Orvik::MRender;

// Text without anti-aliasing, so glyph pixels carry the exact text colour.
Orvik::UniqueHFont SharpFont(int height) {
    return Orvik::UniqueHFont(::CreateFontW(-height, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                            OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY,
                                            DEFAULT_PITCH, L"Arial"));
}

int CountColour(const Canvas& canvas, DWORD rgb, int left, int top, int right, int bottom) {
    int count = 0;
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            count += Rgb(canvas.Pixel(x, y)) == rgb ? 1 : 0;
        }
    }
    return count;
}

TEST(TextDrawing, DrawsInTheColourAndFontAndRestoresThem) {
    Canvas canvas(200, 60, 0xFFFFFFFF);
    HDC dc = canvas.DC();
    const Orvik::UniqueHFont font = SharpFont(30);
    HGDIOBJ originalFont = ::GetCurrentObject(dc, OBJ_FONT);
    ::SetTextColor(dc, RGB(1, 2, 3));
    ::SetBkMode(dc, OPAQUE);
    ::SetBkColor(dc, RGB(0, 255, 0));

    MRender::DrawTextW(dc, CRect{10, 10, 190, 50}, L"HH", RGB(200, 0, 0), font.Get(), DT_LEFT | DT_TOP);

    EXPECT_GT(CountColour(canvas, 0xC80000, 10, 10, 190, 50), 50) << "glyphs in the text colour";
    EXPECT_EQ(CountColour(canvas, 0xC80000, 0, 0, 200, 10), 0) << "nothing above the rectangle";
    EXPECT_EQ(CountColour(canvas, 0x00FF00, 0, 0, 200, 60), 0) << "transparent background";
    EXPECT_EQ(::GetTextColor(dc), RGB(1, 2, 3));
    EXPECT_EQ(::GetCurrentObject(dc, OBJ_FONT), originalFont);
    EXPECT_EQ(::GetBkMode(dc), TRANSPARENT);
}

TEST(TextDrawing, FormatIsPassedOn) {
    Canvas canvas(200, 40, 0xFFFFFFFF);
    const Orvik::UniqueHFont font = SharpFont(20);
    MRender::DrawTextW(canvas.DC(), CRect{0, 0, 200, 40}, L"I", RGB(0, 0, 200), font.Get(), DT_RIGHT | DT_TOP);
    EXPECT_EQ(CountColour(canvas, 0x0000C8, 0, 0, 150, 40), 0);
    EXPECT_GT(CountColour(canvas, 0x0000C8, 150, 0, 200, 40), 0);
}

TEST(TextDrawing, NullTextChangesNothing) {
    Canvas canvas(50, 20, 0xFFFFFFFF);
    HDC dc = canvas.DC();
    ::SetBkMode(dc, OPAQUE);
    ::SetTextColor(dc, RGB(1, 2, 3));
    const Orvik::UniqueHFont font = SharpFont(12);
    MRender::DrawTextW(dc, CRect{0, 0, 50, 20}, nullptr, RGB(200, 0, 0), font.Get(), 0);
    EXPECT_EQ(::GetBkMode(dc), OPAQUE);
    EXPECT_EQ(::GetTextColor(dc), RGB(1, 2, 3));
}

// Rows and columns that the text's outline covers when filled as a path, the way
// GetTextBounds measures it: its ink, independent of the rounding rules.
struct Ink {
    int width = 0;
    int height = 0;
};

Ink InkOf(const Gdiplus::Font& font, const Gdiplus::StringFormat* format, float layoutWidth, const wchar_t* text) {
    Canvas canvas(400, 200, 0xFF000000);
    Gdiplus::FontFamily family;
    font.GetFamily(&family);
    const Gdiplus::StringFormat defaultFormat;
    Gdiplus::GraphicsPath path;
    path.AddString(text, -1, &family, font.GetStyle(), font.GetSize(), Gdiplus::RectF(0, 0, layoutWidth, 0),
                   format ? format : &defaultFormat);
    Gdiplus::SolidBrush white(Gdiplus::Color(0xFFFFFFFF));
    canvas.Graphics()->FillPath(&white, &path);
    int left = canvas.Width(), right = -1, top = canvas.Height(), bottom = -1;
    for (int y = 0; y < canvas.Height(); ++y) {
        for (int x = 0; x < canvas.Width(); ++x) {
            if (Rgb(canvas.Pixel(x, y)) != 0) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    return right < 0 ? Ink{} : Ink{right - left + 1, bottom - top + 1};
}

// The line spacing of a pixel-unit font, from its family's design metrics.
double LineSpacing(const Gdiplus::Font& font) {
    Gdiplus::FontFamily family;
    font.GetFamily(&family);
    const int style = font.GetStyle();
    return font.GetSize() * family.GetLineSpacing(style) / family.GetEmHeight(style);
}

class TextBounds : public ::testing::Test {
protected:
    Gdiplus::FontFamily family{L"Arial"};
    Gdiplus::Font font{&family, 20, Gdiplus::FontStyleRegular, Gdiplus::UnitPixel};
    void SetUp() override { ASSERT_EQ(font.GetLastStatus(), Gdiplus::Ok); }
};

TEST_F(TextBounds, OneLineWidthCoversTheInkAndHeightFollowsTheLineSpacing) {
    const double spacing = LineSpacing(font);
    const int expectedHeight = Orvik::SingleLineTextHeight(spacing);
    for (const wchar_t* text : {L"W", L"Thermolyx", L"45 \u00b0C"}) {
        const Gdiplus::Size size = MRender::GetTextBounds(&font, text);
        const Ink ink = InkOf(font, nullptr, 0, text);
        EXPECT_GE(size.Width, ink.width - 1) << text;
        EXPECT_LE(size.Width, ink.width + 2) << text;
        EXPECT_EQ(size.Height, expectedHeight) << text;
    }
    // The caller's format (here none) measures the same one line.
    EXPECT_EQ(MRender::GetTextBounds(&font, nullptr, L"Thermolyx").Width,
              MRender::GetTextBounds(&font, L"Thermolyx").Width);
}

TEST_F(TextBounds, WidthLimitsTheLayoutAndHeightFollowsTheWrappedRule) {
    // Wine lays out only the first line of path text, so what wraps here is cut
    // rather than moved to a second line; the height rule for text taller than one
    // line is covered by the rounding table.
    const double spacing = LineSpacing(font);
    const wchar_t* text = L"one two three";
    for (const int width : {60, 1000}) {
        const Gdiplus::Size size = MRender::GetTextBounds(&font, nullptr, width, text);
        const Ink ink = InkOf(font, nullptr, static_cast<float>(width), text);
        EXPECT_GE(size.Width, ink.width - 1) << width;
        EXPECT_LE(size.Width, ink.width + 2) << width;
        EXPECT_EQ(size.Height, Orvik::WrappedTextHeight(spacing, ink.height)) << width;
    }
    EXPECT_LT(MRender::GetTextBounds(&font, nullptr, 60, text).Width,
              MRender::GetTextBounds(&font, nullptr, 1000, text).Width);
}

}  // namespace
