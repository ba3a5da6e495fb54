#include <windows.h>
#include <gdiplus.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "core/manager.h"
#include "core/paint_manager.h"
#include "gdiplus_session.h"
#include "temp_folder.h"
#include "test_files_win.h"

namespace {

using Orvik::Manager;
using Orvik::PaintManager;

constexpr unsigned kLibraryFace = 106;

std::wstring FamilyName(const Gdiplus::FontFamily* family) {
    WCHAR name[LF_FACESIZE] = {};
    family->GetFamilyName(name);
    return name;
}

// Pixels that a 40-pixel "H" in `family` inks on a white square.
int InkedPixels(const Gdiplus::FontFamily* family) {
    Gdiplus::Bitmap canvas(64, 64, PixelFormat32bppARGB);
    Gdiplus::Graphics graphics(&canvas);
    graphics.Clear(Gdiplus::Color(255, 255, 255, 255));
    const Gdiplus::Font font(family, 40, Gdiplus::FontStyleRegular, Gdiplus::UnitPixel);
    const Gdiplus::SolidBrush black(Gdiplus::Color(255, 0, 0, 0));
    graphics.DrawString(L"H", 1, &font, Gdiplus::PointF(8, 4), &black);
    graphics.Flush(Gdiplus::FlushIntentionSync);
    int inked = 0;
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            Gdiplus::Color pixel;
            canvas.GetPixel(x, y, &pixel);
            inked += pixel.GetR() < 128 ? 1 : 0;
        }
    }
    return inked;
}

class PrivateFonts : public GdiplusSuite {
protected:
    void TearDown() override { Manager::SetFontName(L"Arial"); }
    PaintManager fonts;
};

TEST_F(PrivateFonts, FindTempFontResolvesTheLibraryWideFaceWhateverIsAsked) {
    Gdiplus::FontFamily* arial = fonts.FindTempFont(L"Arial");
    ASSERT_NE(arial, nullptr);
    EXPECT_EQ(fonts.FindTempFont(L"Liberation Serif"), arial);
    EXPECT_EQ(fonts.FindTempFont(L""), arial);
    EXPECT_GT(InkedPixels(arial), 50);

    // Each paint manager keeps its own store.
    PaintManager other;
    Gdiplus::FontFamily* othersArial = other.FindTempFont(L"Arial");
    ASSERT_NE(othersArial, nullptr);
    EXPECT_NE(othersArial, arial);
}

TEST_F(PrivateFonts, FindTempFontFollowsSetFontNameAndCachesEachFace) {
    Gdiplus::FontFamily* arial = fonts.FindTempFont(L"Arial");
    ASSERT_NE(arial, nullptr);

    Manager::SetFontName(L"Liberation Serif");
    Gdiplus::FontFamily* serif = fonts.FindTempFont(L"Arial");
    ASSERT_NE(serif, nullptr);
    EXPECT_NE(serif, arial);
    EXPECT_EQ(FamilyName(serif), L"Liberation Serif");
    EXPECT_EQ(fonts.FindTempFont(L"anything"), serif);

    Manager::SetFontName(L"Arial");
    EXPECT_EQ(fonts.FindTempFont(L"Liberation Serif"), arial);
}

TEST_F(PrivateFonts, FindTempFontGivesNullForAFaceThatIsNotInstalled) {
    Manager::SetFontName(L"Orvik No Such Face");
    EXPECT_EQ(fonts.FindTempFont(L"Arial"), nullptr);
    EXPECT_EQ(fonts.FindTempFont(L"Arial"), nullptr);
    Manager::SetFontName(L"Arial");
    EXPECT_NE(fonts.FindTempFont(L"Arial"), nullptr);
}

TEST_F(PrivateFonts, TheLibrarysFaceLoadsFromItsResource) {
    Gdiplus::FontFamily* face = fonts.AddTempFont(L"Orvik Face", kLibraryFace);
    ASSERT_NE(face, nullptr);
    EXPECT_EQ(FamilyName(face), L"Open Sans Semibold");
    // The family outlives the collection it was read from and still draws.
    EXPECT_GT(InkedPixels(face), 50);

    // Only the low 16 bits name the resource.
    Gdiplus::FontFamily* again = fonts.AddTempFont(L"Orvik Face", kLibraryFace + 0x10000);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(FamilyName(again), L"Open Sans Semibold");

    EXPECT_EQ(fonts.AddTempFont(L"Orvik Missing", 999u), nullptr);
}

TEST_F(PrivateFonts, AddTempFontStoresUnderTheGivenNameWhichFindTempFontThenResolves) {
    TempFolder folder;
    const std::wstring notAFont = folder.Wide() + L"notes.ttf";
    ASSERT_TRUE(WriteTextFile(notAFont, "this is not a font"));
    const std::wstring openSans = HostPathToWindows(OPEN_SANS_SEMIBOLD_FILE);

    Manager::SetFontName(L"Orvik Alias");
    EXPECT_EQ(fonts.FindTempFont(L""), nullptr);  // no such face installed

    // A file without a font gives null and stores nothing.
    EXPECT_EQ(fonts.AddTempFont(L"Orvik Alias", notAFont), nullptr);
    EXPECT_EQ(fonts.FindTempFont(L""), nullptr);
    EXPECT_EQ(fonts.AddTempFont(L"Orvik Alias", folder.Wide() + L"missing.ttf"), nullptr);

    Gdiplus::FontFamily* fromFile = fonts.AddTempFont(L"Orvik Alias", openSans);
    ASSERT_NE(fromFile, nullptr);
    EXPECT_EQ(FamilyName(fromFile), L"Open Sans Semibold");
    EXPECT_EQ(fonts.FindTempFont(L"Arial"), fromFile);

    // A failed load leaves the stored family in place; a good one replaces it.
    EXPECT_EQ(fonts.AddTempFont(L"Orvik Alias", notAFont), nullptr);
    EXPECT_EQ(fonts.FindTempFont(L""), fromFile);
    Gdiplus::FontFamily* fromResource = fonts.AddTempFont(L"Orvik Alias", kLibraryFace);
    ASSERT_NE(fromResource, nullptr);
    EXPECT_EQ(fonts.FindTempFont(L""), fromResource);

    fonts.ClearTempFont();
    EXPECT_EQ(fonts.FindTempFont(L""), nullptr);
}

}  // namespace
