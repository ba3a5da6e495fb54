#include <windows.h>
#include <gdiplus.h>
#include <ole2.h>

#include <gtest/gtest.h>

#include <string>

#include "core/manager.h"

namespace {

using Orvik::Manager;

TEST(ManagerDefaults, HoldTheLibraryWideValues) {
    EXPECT_EQ(Manager::GetFontName(), L"Arial");
    EXPECT_EQ(Manager::GetFontWidth(), 14);
    EXPECT_EQ(Manager::GetScaleValue(), 1.0f);
    EXPECT_EQ(Manager::GetSelectColor().GetValue(), 0xFFBD30FFu);
    EXPECT_EQ(Manager::m_gdiplusStartupInput.GdiplusVersion, 1u);
    EXPECT_EQ(Manager::m_gdiplusStartupInput.DebugEventCallback, nullptr);
    EXPECT_FALSE(Manager::m_gdiplusStartupInput.SuppressBackgroundThread);
    EXPECT_FALSE(Manager::m_gdiplusStartupInput.SuppressExternalCodecs);
}

TEST(ManagerSettings, SettersReachTheExportedMembers) {
    Manager::SetFont(L"Liberation Serif", 20);
    EXPECT_EQ(Manager::m_fontname, L"Liberation Serif");
    EXPECT_EQ(Manager::m_fontwidth, 20);
    Manager::SetFontName(L"Liberation Mono");
    Manager::SetFontWidth(9);
    EXPECT_EQ(Manager::GetFontName(), L"Liberation Mono");
    EXPECT_EQ(Manager::GetFontWidth(), 9);
    Manager::SetFont(L"Arial", 14);

    Manager::SetScaleValue(1.5f);
    EXPECT_EQ(Manager::GetScaleValue(7), 10);
    Manager::SetScaleValue(1.0f);
    EXPECT_EQ(Manager::GetScaleValue(7), 7);

    const HINSTANCE before = Manager::GetInstance();
    const HINSTANCE program = ::GetModuleHandleW(nullptr);
    Manager::SetInstance(program);
    EXPECT_EQ(Manager::GetInstance(), program);
    EXPECT_EQ(Manager::m_hInstance, program);
    Manager::SetInstance(before);
}

TEST(ManagerPaths, SkinFolderIsBesideTheProgram) {
    wchar_t exe[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring folder(exe);
    folder.erase(folder.find_last_of(L'\\') + 1);

    EXPECT_EQ(Manager::GetTheme(), L"theme1\\");
    EXPECT_EQ(Manager::GetAppPath(), folder);
    EXPECT_EQ(Manager::GetSkinPath(), folder + L"skins\\theme1\\");
}

TEST(ManagerStartUp, InitGdiplusStartsGdiplusComAndOle) {
    Manager::InitGdiplus();
    EXPECT_NE(Manager::m_gdiplusToken, 0u);
    Gdiplus::Bitmap bitmap(4, 4, PixelFormat32bppARGB);
    EXPECT_EQ(bitmap.GetLastStatus(), Gdiplus::Ok);
    // A second initialisation on this thread only counts up: S_FALSE.
    EXPECT_EQ(::CoInitialize(nullptr), S_FALSE);
    ::CoUninitialize();
    EXPECT_EQ(::OleInitialize(nullptr), S_FALSE);
    ::OleUninitialize();
    Manager::UnInitGdiplus();

    // Shut down again: a fresh initialisation is the first one.
    EXPECT_EQ(::CoInitialize(nullptr), S_OK);
    ::CoUninitialize();
}

}  // namespace
