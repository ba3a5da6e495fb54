#pragma once

#include <windows.h>
#include <gdiplus.h>

#include <string>

#include "core/orvik_api.h"

namespace Orvik {

class MWindow;

// Process-wide state of the library: only static members, never instantiated.
// Set up on the user-interface thread before the first window exists, then only
// read (the readings store excepted), so nothing here takes a lock.
class ORVIK_API Manager {
public:
    Manager() = delete;

    // The module whose window classes and numbered resources the library uses:
    // the program's own, handed over at start-up.
    static void SetInstance(HINSTANCE instance);
    static HINSTANCE GetInstance();

    // GDI+, COM and OLE for a program that leaves them to the library; results
    // are not looked at.
    static void InitGdiplus();
    static void UnInitGdiplus();

    // Runs the thread's messages until the quit message. Messages that arrive while
    // Alt and F4 are both held are dropped, so Alt+F4 closes nothing served here.
    static void MessageLoop();
    // 1 while Alt and F4 are both held (the message itself is not looked at), else 0.
    static int PreTranslateMessage(MSG* message);

    // Part of the exported interface; they kept a window list that nothing read.
    static void AddWnd(MWindow* window);
    static void DeleteWnd(MWindow* window);

    static void SetFont(const std::wstring& faceName, int size);
    static void SetFontName(const std::wstring& faceName);
    static void SetFontWidth(int size);
    static std::wstring GetFontName();
    static int GetFontWidth();

    static void SetScaleValue(float scale);
    static float GetScaleValue();
    // `value` times the scale, in single precision, truncated toward zero.
    static int GetScaleValue(int value);

    static Gdiplus::Color GetSelectColor();

    // Folder of the process's executable (not of the library), ending in a backslash.
    static std::wstring GetAppPath();
    // GetAppPath() + "skins\" + GetTheme(): where images named by file are found.
    static std::wstring GetSkinPath();
    static std::wstring GetTheme();

    // The readings store: the latest numbers the readings overlay paints. Written by
    // the program's worker thread while the UI thread paints, so each is a single
    // aligned 32-bit float stored and loaded whole, without a lock.
    static void SetCPUTemp(float value);
    static float GetCPUTemp();
    static void SetCPUPower(float value);
    static float GetCPUPower();
    static void SetCPUUsage(float value);
    static float GetCPUUsage();

    static HINSTANCE m_hInstance;
    static Gdiplus::GdiplusStartupInput m_gdiplusStartupInput;
    static ULONG_PTR m_gdiplusToken;
    static std::wstring m_fontname;
    static int m_fontwidth;
    static float m_scale_value;
    static Gdiplus::Color m_select_color;
    static unsigned int m_uControlID;  // part of the exported interface; nothing reads it

    static float m_cpu_temp;
    static float m_cpu_power;
    static float m_cpu_usage;
};

}  // namespace Orvik
