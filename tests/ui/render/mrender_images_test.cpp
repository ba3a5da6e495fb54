#include <gtest/gtest.h>

#include <memory>

#include "canvas_win.h"
#include "image_fixtures_win.h"
#include "render/mrender.h"
#include "temp_folder.h"
#include "test_files_win.h"

namespace {

using Orvik::CRect;
using Orvik::MRender;
using ImagePtr = std::unique_ptr<Gdiplus::Image>;

// Colour of image pixel (x, y), read back by drawing the image 1:1.
DWORD ImagePixel(Gdiplus::Image* image, int x, int y) {
    Canvas canvas(static_cast<int>(image->GetWidth()), static_cast<int>(image->GetHeight()));
    canvas.Graphics()->DrawImage(image, 0, 0, canvas.Width(), canvas.Height());
    return canvas.Pixel(x, y);
}

// Left half red, right half blue, and one green pixel at (1, 2).
DWORD Fixture(int x, int y) {
    if (x == 1 && y == 2) {
        return 0xFF00FF00;
    }
    return x < 20 ? 0xFFFF0000 : 0xFF0000FF;
}

class ImageLoading : public ::testing::Test {
protected:
    TempFolder folder;
    std::wstring png = folder.Wide() + L"strip.png";
    void SetUp() override { ASSERT_TRUE(SavePng(png, 40, 10, Fixture)); }
};

TEST_F(ImageLoading, FileDecodesAtItsSizeWithItsPixels) {
    const ImagePtr image(MRender::LoadImageFromFile(png));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->GetWidth(), 40u);
    EXPECT_EQ(image->GetHeight(), 10u);
    EXPECT_EQ(ImagePixel(image.get(), 1, 2), 0xFF00FF00u);
    EXPECT_EQ(ImagePixel(image.get(), 0, 0), 0xFFFF0000u);
    EXPECT_EQ(ImagePixel(image.get(), 39, 9), 0xFF0000FFu);
}

TEST_F(ImageLoading, MissingOrUndecodableFilesGiveNull) {
    EXPECT_EQ(MRender::LoadImageFromFile(folder.Wide() + L"absent.png"), nullptr);
    ASSERT_TRUE(WriteTextFile(folder.Wide() + L"text.png", "not an image at all"));
    EXPECT_EQ(MRender::LoadImageFromFile(folder.Wide() + L"text.png"), nullptr);
    EXPECT_EQ(MRender::LoadImageFromFileEx(folder.Wide() + L"absent.png", 4, 4), nullptr);
    EXPECT_EQ(MRender::LoadImageFromFileEx(folder.Wide() + L"text.png", 0, 0), nullptr);
}

TEST_F(ImageLoading, ThumbnailTakesTheAskedSizeOrTheImagesOwn) {
    const ImagePtr small(MRender::LoadImageFromFileEx(png, 8, 2));
    ASSERT_TRUE(small);
    EXPECT_EQ(small->GetWidth(), 8u);
    EXPECT_EQ(small->GetHeight(), 2u);
    // Left half still red, right half still blue.
    EXPECT_EQ(Rgb(ImagePixel(small.get(), 0, 1)), 0xFF0000u);
    EXPECT_EQ(Rgb(ImagePixel(small.get(), 7, 1)), 0x0000FFu);

    const ImagePtr same(MRender::LoadImageFromFileEx(png, 0, 0));
    ASSERT_TRUE(same);
    EXPECT_EQ(same->GetWidth(), 40u);
    EXPECT_EQ(same->GetHeight(), 10u);
}

TEST(ResourceLoading, ProgramResourceDecodesAndOutlivesTheLoader) {
    const ImagePtr image(MRender::LoadImageFromIDResource(101, L"PNG", ::GetModuleHandleW(nullptr)));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->GetWidth(), 12u);
    EXPECT_EQ(image->GetHeight(), 6u);
    // Drawn after the loader returned: the bytes behind the image are still there.
    EXPECT_EQ(ImagePixel(image.get(), 0, 0), 0xFFFF0000u);
    EXPECT_EQ(ImagePixel(image.get(), 11, 5), 0xFF0000FFu);
}

TEST(ResourceLoading, OnlyTheLow16BitsOfTheNumberCount) {
    const ImagePtr image(MRender::LoadImageFromIDResource(0x30000 | 4242, L"PNG", ::GetModuleHandleW(nullptr)));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->GetWidth(), 9u);
}

TEST(ResourceLoading, MissingResourcesGiveNullAndUndecodableOnesAnEmptyImage) {
    HMODULE program = ::GetModuleHandleW(nullptr);
    EXPECT_EQ(MRender::LoadImageFromIDResource(999, L"PNG", program), nullptr);
    EXPECT_EQ(MRender::LoadImageFromIDResource(101, L"NOSUCHTYPE", program), nullptr);

    const ImagePtr broken(MRender::LoadImageFromIDResource(2001, L"PNG", program));
    ASSERT_TRUE(broken);
    EXPECT_EQ(broken->GetWidth(), 0u);
    EXPECT_EQ(broken->GetHeight(), 0u);
}

TEST(IconLoading, IconFileGivesItsOwnIcon) {
    TempFolder folder;
    const std::wstring path = folder.Wide() + L"Thermolyx.ico";
    ASSERT_TRUE(SaveSolidIcon(path, 0x2080C0));
    const Orvik::UniqueHIcon icon(MRender::LoadIconFromFile(path));
    ASSERT_TRUE(icon);
    Canvas canvas(32, 32, 0xFF000000);
    ASSERT_TRUE(::DrawIconEx(canvas.DC(), 0, 0, icon.Get(), 32, 32, 0, nullptr, DI_NORMAL));
    EXPECT_EQ(Rgb(canvas.Pixel(16, 16)), 0x2080C0u);
}

// A 20 x 20 source at (sx, 0): 8 x 8 corners red, green, blue and yellow clockwise
// from the top-left, the edges between them grey, the 4 x 4 centre white.
DWORD FrameSource(int x, int y) {
    const bool left = x < 8;
    const bool right = x >= 12;
    const bool top = y < 8;
    const bool bottom = y >= 12;
    if (left && top)
        return 0xFFFF0000;
    if (right && top)
        return 0xFF00FF00;
    if (right && bottom)
        return 0xFF0000FF;
    if (left && bottom)
        return 0xFFFFFF00;
    if (left || right || top || bottom)
        return 0xFF808080;
    return 0xFFFFFFFF;
}

class NineGridDrawing : public ::testing::Test {
protected:
    TempFolder folder;
    ImagePtr image;
    void SetUp() override {
        // Two frames side by side; the second is drawn, the first is all black.
        const std::wstring path = folder.Wide() + L"frame.png";
        ASSERT_TRUE(SavePng(path, 40, 20, [](int x, int y) { return x < 20 ? 0xFF000000 : FrameSource(x - 20, y); }));
        image.reset(MRender::LoadImageFromFile(path));
        ASSERT_TRUE(image);
    }
};

TEST_F(NineGridDrawing, CornersKeepTheirSizeAndMiddlesStretch) {
    Canvas canvas(120, 60, 0xFF202020);
    MRender::DrawImageFrame(canvas.Graphics().get(), image.get(), CRect{10, 10, 110, 50}, 20, 0, 20, 20, 8);
    struct Probe {
        int x, y;
        DWORD colour;
    };
    // Wine's GDI+ may leave the first row or column of a strongly stretched piece
    // undrawn, so stretched pieces are probed from their second pixel on.
    for (const Probe& p :
         {Probe{10, 10, 0xFFFF0000}, Probe{17, 17, 0xFFFF0000},    // top-left corner
          Probe{102, 10, 0xFF00FF00}, Probe{109, 17, 0xFF00FF00},  // top-right
          Probe{102, 42, 0xFF0000FF}, Probe{109, 49, 0xFF0000FF},  // bottom-right
          Probe{10, 42, 0xFFFFFF00}, Probe{17, 49, 0xFFFFFF00},    // bottom-left
          Probe{19, 10, 0xFF808080}, Probe{101, 17, 0xFF808080},   // top edge, 84 wide
          Probe{10, 19, 0xFF808080}, Probe{17, 41, 0xFF808080},    // left edge, 24 tall
          Probe{105, 30, 0xFF808080}, Probe{60, 45, 0xFF808080},   // right and bottom edges
          Probe{19, 19, 0xFFFFFFFF}, Probe{60, 30, 0xFFFFFFFF},    // stretched centre
          Probe{101, 41, 0xFFFFFFFF}, Probe{9, 10, 0xFF202020}, Probe{110, 50, 0xFF202020}}) {  // exclusive edges
        EXPECT_EQ(canvas.Pixel(p.x, p.y), p.colour) << p.x << "," << p.y;
    }
    // Corners end where their size says.
    for (const Probe& p : {Probe{18, 10, 0xFFFF0000}, Probe{10, 18, 0xFFFF0000}, Probe{101, 10, 0xFF00FF00},
                           Probe{109, 41, 0xFF0000FF}, Probe{18, 49, 0xFFFFFF00}}) {
        EXPECT_NE(canvas.Pixel(p.x, p.y), p.colour) << p.x << "," << p.y;
    }
}

TEST_F(NineGridDrawing, DistinctMarginsCutTheSourceWhereTheyAreGiven) {
    // Margins left 8, top 8, right 8, bottom 4: the bottom pieces take only the last
    // 4 source rows (yellow, blue), and the left edge takes source rows 8 to 15
    // (grey, then yellow) stretched over 28 rows.
    Canvas canvas(60, 40, 0xFF202020);
    MRender::DrawImageFrameMID(canvas.Graphics().get(), image.get(), CRect{0, 0, 60, 40}, 20, 0, 20, 20, 8, 8, 8, 4);
    EXPECT_EQ(canvas.Pixel(0, 0), 0xFFFF0000u);
    EXPECT_EQ(canvas.Pixel(7, 7), 0xFFFF0000u);
    EXPECT_EQ(canvas.Pixel(0, 36), 0xFFFFFF00u);  // bottom-left piece: source rows 16..19
    EXPECT_EQ(canvas.Pixel(0, 39), 0xFFFFFF00u);
    EXPECT_EQ(canvas.Pixel(59, 36), 0xFF0000FFu);
    EXPECT_EQ(canvas.Pixel(0, 35), 0xFFFFFF00u);  // left edge ends on source row 15, yellow
    EXPECT_EQ(canvas.Pixel(0, 9), 0xFF808080u);   // and starts on row 8, grey
    EXPECT_NE(canvas.Pixel(0, 8), 0xFFFF0000u);   // the 8-row corner ends above
}

TEST_F(NineGridDrawing, NullImageOrGraphicsDrawsNothing) {
    Canvas canvas(30, 30, 0xFF202020);
    MRender::DrawImageFrame(canvas.Graphics().get(), nullptr, CRect{0, 0, 30, 30}, 0, 0, 20, 20, 8);
    MRender::DrawImageFrame(nullptr, image.get(), CRect{0, 0, 30, 30}, 0, 0, 20, 20, 8);
    MRender::DrawImageFrameMID(canvas.Graphics().get(), nullptr, CRect{0, 0, 30, 30}, 0, 0, 20, 20, 1, 2, 3, 4);
    for (int y = 0; y < 30; y += 7) {
        for (int x = 0; x < 30; x += 7) {
            EXPECT_EQ(canvas.Pixel(x, y), 0xFF202020u);
        }
    }
}

}  // namespace
