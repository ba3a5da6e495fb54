#include "core/manager.h"

#include <ole2.h>

#include "base/whole_float.h"
#include "base/win/program_folder_win.h"
#include "core/geometry.h"

namespace Orvik {

namespace {

bool AltAndF4Held() {
    // Only the "down now or since the last query" state matters: any non-zero value.
    return ::GetAsyncKeyState(VK_MENU) != 0 && ::GetAsyncKeyState(VK_F4) != 0;
}

}  // namespace

HINSTANCE Manager::m_hInstance = nullptr;
Gdiplus::GdiplusStartupInput Manager::m_gdiplusStartupInput;
ULONG_PTR Manager::m_gdiplusToken = 0;
std::wstring Manager::m_fontname = L"Arial";
int Manager::m_fontwidth = 14;
float Manager::m_scale_value = 1.0f;
Gdiplus::Color Manager::m_select_color(0xFFBD30FF);
unsigned int Manager::m_uControlID = 0;

float Manager::m_cpu_temp = 0.0f;
float Manager::m_cpu_power = 0.0f;
float Manager::m_cpu_usage = 0.0f;

void Manager::SetInstance(HINSTANCE instance) { m_hInstance = instance; }
HINSTANCE Manager::GetInstance() { return m_hInstance; }

void Manager::InitGdiplus() {
    Gdiplus::GdiplusStartup(&m_gdiplusToken, &m_gdiplusStartupInput, nullptr);
    ::CoInitialize(nullptr);
    ::OleInitialize(nullptr);
}

void Manager::UnInitGdiplus() {
    Gdiplus::GdiplusShutdown(m_gdiplusToken);
    ::CoUninitialize();
    ::OleUninitialize();
}

void Manager::MessageLoop() {
    MSG message = {};
    // GetMessageW gives -1 on a bad call; that ends the loop rather than spinning on it.
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (!PreTranslateMessage(&message)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
    }
}

int Manager::PreTranslateMessage(MSG*) { return AltAndF4Held() ? 1 : 0; }

void Manager::AddWnd(MWindow*) {}
void Manager::DeleteWnd(MWindow*) {}

void Manager::SetFont(const std::wstring& faceName, int size) {
    m_fontname = faceName;
    m_fontwidth = size;
}
void Manager::SetFontName(const std::wstring& faceName) { m_fontname = faceName; }
void Manager::SetFontWidth(int size) { m_fontwidth = size; }
std::wstring Manager::GetFontName() { return m_fontname; }
int Manager::GetFontWidth() { return m_fontwidth; }

void Manager::SetScaleValue(float scale) { m_scale_value = scale; }
float Manager::GetScaleValue() { return m_scale_value; }
int Manager::GetScaleValue(int value) { return ScaleTowardZero(value, m_scale_value); }

Gdiplus::Color Manager::GetSelectColor() { return m_select_color; }

// The process's executable, not this library: skins live beside the program.
std::wstring Manager::GetAppPath() { return Base::ProgramFolder(); }

std::wstring Manager::GetSkinPath() { return GetAppPath() + L"skins\\" + GetTheme(); }

std::wstring Manager::GetTheme() { return L"theme1\\"; }

void Manager::SetCPUTemp(float value) { Base::StoreWhole(m_cpu_temp, value); }
float Manager::GetCPUTemp() { return Base::LoadWhole(m_cpu_temp); }
void Manager::SetCPUPower(float value) { Base::StoreWhole(m_cpu_power, value); }
float Manager::GetCPUPower() { return Base::LoadWhole(m_cpu_power); }
void Manager::SetCPUUsage(float value) { Base::StoreWhole(m_cpu_usage, value); }
float Manager::GetCPUUsage() { return Base::LoadWhole(m_cpu_usage); }

}  // namespace Orvik
