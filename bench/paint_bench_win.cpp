// The cost of one full layered repaint of a 400 x 250 window: background image,
// three text-bearing controls with strip images and titles, and the readings
// overlay, without the 15 ms pause that ends every paint. The floor is a plain
// BitBlt of a DIB of the same size onto a window of the same size; the cost of
// handing that DIB to the layered window alone is printed beside it.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "canvas_win.h"
#include "core/gdi_handles.h"
#include "core/manager.h"
#include "image_fixtures_win.h"
#include "painted_window_win.h"
#include "skin_file_win.h"
#include "test_controls_win.h"

namespace {

constexpr int kRuns = 300;

struct Figures {
    double median;
    double p95;
};

Figures Measure(const std::function<void()>& once) {
    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);
    std::vector<double> times;
    for (int run = 0; run < kRuns; ++run) {
        LARGE_INTEGER before;
        LARGE_INTEGER after;
        ::QueryPerformanceCounter(&before);
        once();
        ::QueryPerformanceCounter(&after);
        times.push_back(static_cast<double>(after.QuadPart - before.QuadPart) * 1000.0 /
                        static_cast<double>(frequency.QuadPart));
    }
    std::sort(times.begin(), times.end());
    return {times[times.size() / 2], times[times.size() * 95 / 100]};
}

void Print(const char* what, Figures figures) {
    std::printf("%-48s median %7.3f ms   p95 %7.3f ms\n", what, figures.median, figures.p95);
}

}  // namespace

int main() {
    Orvik::Manager::InitGdiplus();
    Orvik::Manager::SetInstance(::GetModuleHandleW(nullptr));
    SkinFile background(L"img_bench_background");
    SkinFile strip(L"img_bench_strip");
    SavePng(background.Path(), 400, 250, [](int x, int y) {
        return 0xFF000000u | static_cast<DWORD>(x * 255 / 400) << 16 | static_cast<DWORD>(y * 255 / 250);
    });
    SavePng(strip.Path(), 480, 40, [](int x, int) { return 0xFF203040u + static_cast<DWORD>(x / 120) * 0x202020u; });
    Orvik::Manager::SetCPUTemp(45.9f);
    Orvik::Manager::SetCPUPower(65.99f);
    {
        PaintedWindow window;
        if (!window.Open(Orvik::CRect{100, 100, 500, 350}, true)) {
            std::fprintf(stderr, "no window\n");
            return 1;
        }
        Orvik::PaintManager& manager = window.Manager();
        manager.LoadBKImage(background.Name());
        manager.EnableDrawInfo(1);
        std::vector<StripLabel*> labels;
        for (int i = 0; i < 3; ++i) {
            auto* label = window.Add<StripLabel>(static_cast<unsigned>(i + 1),
                                                 Orvik::CRect{20 + i * 125, 180, 140 + i * 125, 220}, L"Fan 1200");
            label->SetImage(strip.Name().c_str(), 4);
            label->SetFont(L"Arial", 16, Gdiplus::FontStyleBold);
            label->SetAlignment(1, 4);
            labels.push_back(label);
        }
        const HWND hwnd = window.GetSafeHwnd();
        manager.OnPaint();  // surfaces made once
        window.Pump(50);

        Print("repaint from kept surfaces", Measure([&] {
                  ::InvalidateRect(hwnd, nullptr, FALSE);
                  manager.PaintFrame();
              }));
        Print("repaint with every control redrawn", Measure([&] {
                  for (StripLabel* label : labels) {
                      label->SetUpdate(0, 0);
                  }
                  ::InvalidateRect(hwnd, nullptr, FALSE);
                  manager.PaintFrame();
              }));

        // The floor: a DIB of the same size copied onto a plain window of the same
        // size (a layered window takes no GDI drawing).
        PaintedWindow plain;
        plain.Open(Orvik::CRect{100, 400, 500, 650}, false);
        const HWND plainWindow = plain.GetSafeHwnd();
        const Orvik::UniqueWindowDC windowDC = Orvik::BorrowDC(plainWindow);
        const Canvas dib(400, 250, 0xFF808080);
        Print("floor: BitBlt of a 400 x 250 DIB", Measure([&] {
                  ::BitBlt(windowDC.Get().dc, 0, 0, 400, 250, dib.DC(), 0, 0, SRCCOPY);
                  ::GdiFlush();
              }));

        // The output step alone: the same DIB handed to the layered window.
        Print("output alone: UpdateLayeredWindow of the DIB", Measure([&] {
                  SIZE size{400, 250};
                  POINT origin{0, 0};
                  BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
                  ::UpdateLayeredWindow(hwnd, nullptr, nullptr, &size, dib.DC(), &origin, 0, &blend, ULW_ALPHA);
              }));
    }
    Orvik::Manager::UnInitGdiplus();
    return 0;
}
