#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <vector>

#include "canvas_win.h"
#include "image_fixtures_win.h"
#include "render/gradient_painter_win.h"
#include "render/mrender.h"
#include "temp_folder.h"
#include "test_files_win.h"

namespace {

using Orvik::CPoint;
using Orvik::CRect;
using Orvik::MRender;

constexpr DWORD kBlack = 0xFF000000;
constexpr DWORD kWhite = 0xFFFFFFFF;

struct RampCase {
    bool vertical;
    int start;
    int end;
    std::vector<int> alphas;
};

class Transitions : public ::testing::TestWithParam<RampCase> {};

// White source (only inside the source rectangle) over a black destination: each
// destination row or column comes out at exactly its alpha.
TEST_P(Transitions, EachRowOrColumnCarriesItsAlpha) {
    const RampCase& c = GetParam();
    Canvas source(40, 50, kBlack);
    HDC sourceDC = source.DC();
    MRender::FillSolidRect(sourceDC, 20, 30, 10, 10, RGB(255, 255, 255));
    Canvas destination(20, 20, kBlack);
    HDC destinationDC = destination.DC();

    const CRect to{5, 5, 15, 15};
    const CRect from{20, 30, 30, 40};
    const int last = c.vertical ? MRender::DrawVerticalTransition(destinationDC, sourceDC, to, from, c.start, c.end)
                                : MRender::DrawHorizontalTransition(destinationDC, sourceDC, to, from, c.start, c.end);
    EXPECT_EQ(last, c.alphas.back());
    for (int i = 0; i < 10; ++i) {
        for (int across : {5, 9, 14}) {
            const int x = c.vertical ? across : 5 + i;
            const int y = c.vertical ? 5 + i : across;
            EXPECT_EQ(Red(destination.Pixel(x, y)), c.alphas[i]) << x << "," << y;
        }
    }
    // Nothing outside the destination rectangle.
    for (const CPoint p : {CPoint{4, 9}, CPoint{15, 9}, CPoint{9, 4}, CPoint{9, 15}}) {
        EXPECT_EQ(Rgb(destination.Pixel(p.x, p.y)), 0u) << p.x << "," << p.y;
    }
}

const std::vector<int> kFadeOut{255, 229, 204, 178, 153, 127, 102, 76, 51, 25};
const std::vector<int> kFadeIn{0, 25, 51, 76, 102, 127, 153, 178, 204, 229};

INSTANTIATE_TEST_SUITE_P(Directions, Transitions,
                         ::testing::Values(RampCase{true, 0, 100, kFadeOut}, RampCase{true, 100, 0, kFadeIn},
                                           RampCase{false, 0, 100, kFadeOut}, RampCase{false, 100, 0, kFadeIn},
                                           RampCase{true, 80, 80, std::vector<int>(10, 51)}));

TEST(Transitions, EmptyDestinationDrawsNothingAndReports255) {
    Canvas source(10, 10, kWhite);
    Canvas destination(10, 10, kBlack);
    HDC sourceDC = source.DC();
    HDC destinationDC = destination.DC();
    EXPECT_EQ(MRender::DrawVerticalTransition(destinationDC, sourceDC, CRect{0, 5, 10, 5}, CRect{0, 0, 10, 10}, 0, 100),
              255);
    EXPECT_EQ(
        MRender::DrawHorizontalTransition(destinationDC, sourceDC, CRect{5, 0, 5, 10}, CRect{0, 0, 10, 10}, 0, 100),
        255);
    for (int y = 0; y < 10; ++y) {
        EXPECT_EQ(Rgb(destination.Pixel(5, y)), 0u);
    }
}

TEST(Transitions, BottomRightCornerFadesWithDistance) {
    Canvas source(30, 30, kWhite);
    Canvas destination(30, 30, kBlack);
    HDC sourceDC = source.DC();
    HDC destinationDC = destination.DC();
    // A 20 x 20 rectangle (its position does not count): the square is columns and rows 16..19.
    MRender::DrawRightBottomTransition(destinationDC, sourceDC, CRect{7, 7, 27, 27}, 4, 0);
    struct Probe {
        int x, y, red;
    };
    for (const Probe& p : {Probe{16, 16, 255}, Probe{19, 16, 63}, Probe{16, 19, 63}, Probe{17, 17, 164},
                           Probe{19, 19, 0}, Probe{15, 16, 0}, Probe{16, 15, 0}, Probe{20, 20, 0}}) {
        EXPECT_EQ(Red(destination.Pixel(p.x, p.y)), p.red) << p.x << "," << p.y;
    }
}

TEST(Bitmaps, ARGB32SectionIsBottomUp32BitWithItsPixels) {
    Canvas canvas(4, 3);
    DWORD* bits = nullptr;
    const Orvik::UniqueHBitmap bitmap(MRender::CreateARGB32Bitmap(canvas.DC(), 4, 3, &bits));
    ASSERT_TRUE(bitmap);
    ASSERT_NE(bits, nullptr);
    DIBSECTION section{};
    ASSERT_EQ(::GetObjectW(bitmap.Get(), sizeof section, &section), static_cast<int>(sizeof section));
    EXPECT_EQ(section.dsBmih.biBitCount, 32);
    EXPECT_EQ(section.dsBmih.biHeight, 3);  // positive: bottom-up
    EXPECT_EQ(section.dsBmih.biCompression, static_cast<DWORD>(BI_RGB));
    EXPECT_EQ(section.dsBm.bmBits, bits);

    bits[0] = 0xFF123456;  // first stored row is the bottom one
    const Orvik::UniqueHDC dc(::CreateCompatibleDC(nullptr));
    const Orvik::UniqueSelectObject selection = Orvik::SelectInto(dc.Get(), bitmap.Get());
    EXPECT_EQ(::GetPixel(dc.Get(), 0, 2), RGB(0x12, 0x34, 0x56));
}

TEST(Bitmaps, SectionThatCannotBeMadeIsNull) {
    Canvas canvas(1, 1);
    DWORD sentinel = 0;
    DWORD* bits = &sentinel;
    EXPECT_EQ(MRender::CreateARGB32Bitmap(canvas.DC(), 0, 0, &bits), nullptr);
    EXPECT_EQ(bits, nullptr);
}

TEST(Fills, SolidRectFillsExactlyAndKeepsTheBackgroundColour) {
    Canvas canvas(20, 20, kBlack);
    HDC dc = canvas.DC();
    const RECT rect{2, 3, 6, 8};
    MRender::FillSolidRect(dc, &rect, RGB(10, 20, 30));
    EXPECT_EQ(::GetBkColor(dc), RGB(10, 20, 30));
    MRender::FillSolidRect(dc, 10, 10, 3, 2, RGB(40, 50, 60));
    EXPECT_EQ(::GetBkColor(dc), RGB(40, 50, 60));

    EXPECT_EQ(Rgb(canvas.Pixel(2, 3)), 0x0A141Eu);
    EXPECT_EQ(Rgb(canvas.Pixel(5, 7)), 0x0A141Eu);
    EXPECT_EQ(Rgb(canvas.Pixel(6, 7)), 0u);  // right and bottom are exclusive
    EXPECT_EQ(Rgb(canvas.Pixel(5, 8)), 0u);
    EXPECT_EQ(Rgb(canvas.Pixel(12, 11)), 0x28323Cu);
    EXPECT_EQ(Rgb(canvas.Pixel(13, 11)), 0u);
    EXPECT_EQ(Rgb(canvas.Pixel(12, 12)), 0u);
}

TEST(Fills, BitBltCopiesUnlessToldOtherwise) {
    Canvas source(4, 4, 0xFF102030);
    Canvas destination(8, 4, kBlack);
    EXPECT_TRUE(MRender::BitBlt(destination.DC(), 0, 0, 4, 4, source.DC(), 0, 0));
    EXPECT_TRUE(MRender::BitBlt(destination.DC(), 4, 0, 4, 4, source.DC(), 0, 0, NOTSRCCOPY));
    EXPECT_EQ(Rgb(destination.Pixel(1, 1)), 0x102030u);
    EXPECT_EQ(Rgb(destination.Pixel(5, 1)), 0xEFDFCFu);
}

TEST(DrawColor, AlphaZeroDrawsNothingAndAlphaOneBarelyTints) {
    Canvas canvas(20, 10, kWhite);
    MRender::DrawColor(canvas.DC(), RECT{0, 0, 10, 10}, 0x00FF0000);
    EXPECT_EQ(canvas.Pixel(5, 5), kWhite);

    MRender::DrawColor(canvas.DC(), RECT{0, 0, 10, 10}, 0x01FF0000);
    const DWORD tinted = canvas.Pixel(5, 5);
    EXPECT_EQ(Red(tinted), 255);
    EXPECT_GE(Green(tinted), 253);
    EXPECT_LT(Green(tinted), 255);
    EXPECT_EQ(Green(tinted), Blue(tinted));
    EXPECT_EQ(canvas.Pixel(15, 5), kWhite);
}

TEST(DrawColor, OpaqueFillCoversTheRectangleOnly) {
    Canvas canvas(20, 20, kBlack);
    MRender::DrawColor(canvas.DC(), RECT{3, 4, 9, 12}, 0xFF00C000);
    EXPECT_EQ(Rgb(canvas.Pixel(3, 4)), 0x00C000u);
    EXPECT_EQ(Rgb(canvas.Pixel(8, 11)), 0x00C000u);
    EXPECT_EQ(Rgb(canvas.Pixel(9, 11)), 0u);
    EXPECT_EQ(Rgb(canvas.Pixel(8, 12)), 0u);
    EXPECT_EQ(Rgb(canvas.Pixel(2, 4)), 0u);
}

// The system's gradient fill, and the bands drawn where it is missing.
class Gradients : public ::testing::TestWithParam<bool> {
protected:
    Orvik::GradientPainter painter =
        GetParam() ? Orvik::GradientPainter::System()
                   : Orvik::GradientPainter(nullptr, Orvik::GradientPainter::System().AlphaBlend());
};

TEST_P(Gradients, OpaqueRunsFromTheFirstColourToTheSecondAlongItsDirection) {
    for (const bool vertical : {true, false}) {
        Canvas canvas(64, 64, 0xFF336699);
        painter.Draw(canvas.DC(), RECT{0, 0, 64, 64}, kBlack, kWhite, vertical, 64);
        int previous = -1;
        for (int i = 0; i < 64; ++i) {
            const DWORD along = vertical ? canvas.Pixel(20, i) : canvas.Pixel(i, 20);
            const DWORD across = vertical ? canvas.Pixel(50, i) : canvas.Pixel(i, 50);
            EXPECT_EQ(Rgb(along), Rgb(across)) << i;
            EXPECT_EQ(Red(along), Green(along));
            EXPECT_GE(Red(along), previous) << i;
            previous = Red(along);
        }
        EXPECT_LE(Red(canvas.Pixel(0, 0)), 8);
        EXPECT_GE(Red(vertical ? canvas.Pixel(0, 63) : canvas.Pixel(63, 0)), 247);
    }
}

TEST_P(Gradients, TranslucentBlendsAtTheMeanAlpha) {
    Canvas canvas(32, 32, kBlack);
    // Blue at alpha 255 and at alpha 0: the mean, 127, applies to the whole gradient.
    painter.Draw(canvas.DC(), RECT{0, 0, 32, 32}, 0xFF0000FF, 0x000000FF, true, 8);
    for (const int y : {0, 15, 31}) {
        EXPECT_NEAR(Blue(canvas.Pixel(10, y)), 127, 1) << y;
        EXPECT_EQ(Red(canvas.Pixel(10, y)), 0);
    }
}

TEST_P(Gradients, MeanAlphaZeroDrawsNothing) {
    Canvas canvas(16, 16, 0xFF336699);
    painter.Draw(canvas.DC(), RECT{0, 0, 16, 16}, 0x01FF0000, 0x00FF0000, false, 8);
    EXPECT_EQ(canvas.Pixel(0, 0), 0xFF336699u);
    EXPECT_EQ(canvas.Pixel(15, 15), 0xFF336699u);
}

INSTANTIATE_TEST_SUITE_P(SystemAndBands, Gradients, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "SystemFill" : "Bands"; });

TEST(GradientBands, StepsChooseHowManyBands) {
    const Orvik::GradientPainter bands(nullptr, Orvik::GradientPainter::System().AlphaBlend());
    struct Case {
        int steps;
        std::size_t distinct;
    };
    for (const Case& c : {Case{3, 2}, Case{4, 4}, Case{16, 16}, Case{64, 64}, Case{500, 64}}) {
        Canvas canvas(4, 64, 0xFF336699);
        HDC dc = canvas.DC();
        ::SetBkColor(dc, RGB(1, 2, 3));
        bands.Draw(dc, RECT{0, 0, 4, 64}, kBlack, kWhite, true, c.steps);
        EXPECT_EQ(::GetBkColor(dc), RGB(1, 2, 3)) << "the DC's background colour is left as it was";
        std::set<DWORD> colours;
        for (int y = 0; y < 64; ++y) {
            colours.insert(Rgb(canvas.Pixel(1, y)));
        }
        EXPECT_EQ(colours.size(), c.distinct) << c.steps;
        EXPECT_EQ(Rgb(canvas.Pixel(1, 0)), 0u);
        EXPECT_EQ(Rgb(canvas.Pixel(1, 63)), 0xFFFFFFu);
    }
}

TEST(DrawGradient, UsesTheSystemFillOfTheProcess) {
    EXPECT_NE(Orvik::GradientPainter::System().GradientFill(), nullptr);
    EXPECT_NE(Orvik::GradientPainter::System().AlphaBlend(), nullptr);
    Canvas canvas(8, 100, kBlack);
    MRender::DrawGradient(canvas.DC(), RECT{0, 0, 8, 100}, 0xFFFF0000, 0xFF0000FF, true, 0);
    // With 2 steps the bands would show only the two end colours; the system fill
    // passes through the mix of both.
    const DWORD middle = canvas.Pixel(4, 50);
    EXPECT_GT(Red(middle), 64);
    EXPECT_GT(Blue(middle), 64);
}

TEST(SaveBitmapToFile, WritesHeadersAndBottomUpRowsAtTheDisplayDepth) {
    TempFolder folder;
    const std::wstring path = folder.Wide() + L"shot.bmp";
    ASSERT_TRUE(WriteTextFile(path, std::string(500, 'x')));  // replaced, not appended to
    Canvas canvas(3, 2, kBlack);
    canvas.SetPixel(0, 0, 0xFF112233);  // top-left
    canvas.SetPixel(2, 0, 0xFF445566);  // top-right
    canvas.SetPixel(0, 1, 0xFF778899);  // bottom-left
    EXPECT_EQ(MRender::SaveBitmapToFile(canvas.Bitmap(), path), 1);

    const std::string file = ReadWholeFile(path);
    // The virtual display runs at 24 bits, which the device reports as 32: rows of
    // 3 x 3 bytes padded to 12.
    ASSERT_EQ(file.size(), 54u + 24u);
    BITMAPFILEHEADER fileHeader{};
    BITMAPINFOHEADER info{};
    std::memcpy(&fileHeader, file.data(), 14);
    std::memcpy(&info, file.data() + 14, 40);
    EXPECT_EQ(fileHeader.bfType, 0x4D42);
    EXPECT_EQ(fileHeader.bfSize, 78u);
    EXPECT_EQ(fileHeader.bfReserved1, 0);
    EXPECT_EQ(fileHeader.bfReserved2, 0);
    EXPECT_EQ(fileHeader.bfOffBits, 54u);
    EXPECT_EQ(info.biSize, 40u);
    EXPECT_EQ(info.biWidth, 3);
    EXPECT_EQ(info.biHeight, 2);
    EXPECT_EQ(info.biPlanes, 1);
    EXPECT_EQ(info.biBitCount, 24);
    EXPECT_EQ(info.biCompression, static_cast<DWORD>(BI_RGB));

    const auto byte = [&](std::size_t offset) { return static_cast<unsigned char>(file[54 + offset]); };
    // Bottom row first, blue-green-red.
    EXPECT_EQ(byte(0), 0x99);
    EXPECT_EQ(byte(1), 0x88);
    EXPECT_EQ(byte(2), 0x77);
    EXPECT_EQ(byte(12 + 0), 0x33);
    EXPECT_EQ(byte(12 + 2), 0x11);
    EXPECT_EQ(byte(12 + 6), 0x66);
    EXPECT_EQ(byte(12 + 8), 0x44);
    EXPECT_EQ(byte(12 + 3), 0x00);  // the black middle pixel
}

TEST(SaveBitmapToFile, NothingWrittenWhenTheFileOrBitmapIsNotThere) {
    TempFolder folder;
    Canvas canvas(2, 2, kWhite);
    const std::wstring inMissingFolder = folder.Wide() + L"missing\\shot.bmp";
    EXPECT_EQ(MRender::SaveBitmapToFile(canvas.Bitmap(), inMissingFolder), 0);
    EXPECT_FALSE(FileExists(inMissingFolder));
    const std::wstring noBitmap = folder.Wide() + L"none.bmp";
    EXPECT_EQ(MRender::SaveBitmapToFile(nullptr, noBitmap), 0);
    EXPECT_FALSE(FileExists(noBitmap));
}

TEST(Shapes, RoundedRectangleKeepsItsCornersOpen) {
    Gdiplus::GraphicsPath path;
    MRender::AddRoundedRectangle(&path, 10, 20, 100, 50, 10);
    Gdiplus::RectF bounds;
    path.GetBounds(&bounds);
    EXPECT_NEAR(bounds.X, 10, 0.5);
    EXPECT_NEAR(bounds.Y, 20, 0.5);
    EXPECT_NEAR(bounds.Width, 100, 0.5);
    EXPECT_NEAR(bounds.Height, 50, 0.5);
    // The figure is closed: its outline ends where it began.
    EXPECT_TRUE(path.IsVisible(60.0f, 45.0f));
    EXPECT_TRUE(path.IsVisible(11.0f, 45.0f));
    EXPECT_TRUE(path.IsVisible(60.0f, 21.0f));
    EXPECT_FALSE(path.IsVisible(11.0f, 21.0f));   // cut off by the top-left arc
    EXPECT_FALSE(path.IsVisible(108.0f, 68.0f));  // and the bottom-right one
}

TEST(Shapes, FilledRoundRectangle) {
    Canvas canvas(60, 40, kBlack);
    MRender::DrawRoundRectange(canvas.Graphics().get(), 0, 0, 60, 40, 10, Gdiplus::Color(0xFF00FF00));
    EXPECT_EQ(Rgb(canvas.Pixel(30, 20)), 0x00FF00u);
    EXPECT_EQ(Rgb(canvas.Pixel(1, 20)), 0x00FF00u);
    EXPECT_EQ(Rgb(canvas.Pixel(30, 1)), 0x00FF00u);
    EXPECT_EQ(Rgb(canvas.Pixel(0, 0)), 0u);
    EXPECT_EQ(Rgb(canvas.Pixel(59, 39)), 0u);
}

TEST(Shapes, OutlinedRoundRectangleFilledOnlyWhenAsked) {
    for (const bool fill : {false, true}) {
        Canvas canvas(100, 40, kBlack);
        // Radii 20 and 7.5 are more than 10 apart: both corners take 7.5.
        MRender::DrawRoundRectange(canvas.Graphics().get(), 10, 5, 80, 30, 2, Gdiplus::Color(0xFFFF0000), 3, fill,
                                   Gdiplus::Color(0xFF0000FF));
        EXPECT_EQ(Rgb(canvas.Pixel(10, 20)), 0xFF0000u) << "left edge";
        EXPECT_EQ(Rgb(canvas.Pixel(50, 5)), 0xFF0000u) << "top edge";
        EXPECT_EQ(Rgb(canvas.Pixel(50, 20)), fill ? 0x0000FFu : 0u) << "inside";
        EXPECT_EQ(Rgb(canvas.Pixel(10, 5)), 0u) << "rounded corner";
        EXPECT_EQ(Rgb(canvas.Pixel(30, 5)), 0xFF0000u) << "straight top edge past a 7.5 radius";
    }
}

TEST(Geometry, ExportedOperationsGiveTheWorkedResults) {
    EXPECT_EQ(MRender::GetOriginPoint(100, 50, 30, 20, 1, 8), (CPoint{35, 30}));
    EXPECT_EQ(MRender::GetOriginPoint(CRect{10, 10, 110, 60}, 30, 20, 1, 8), (CPoint{45, 42}));
    EXPECT_EQ(MRender::GetImageRect(400, 200, CRect{0, 0, 100, 100}), (CRect{0, 25, 100, 75}));
    EXPECT_EQ(MRender::GetImageRect(50, 50, CRect{0, 0, 100, 100}), (CRect{25, 25, 75, 75}));

    Gdiplus::PointF point(10, 5);
    MRender::RotatePoint(point, 90, Gdiplus::PointF(5, 5));
    EXPECT_NEAR(point.X, 5, 1e-4);
    EXPECT_NEAR(point.Y, 10, 1e-4);

    DWORD black = 0xFF000000;
    MRender::CheckAlphaColor(black);
    EXPECT_EQ(black, 0xFF000001u);
    DWORD navy = 0x80000080;
    MRender::CheckAlphaColor(navy);
    EXPECT_EQ(navy, 0x80000080u);
}

}  // namespace
