#include "painted_window_win.h"

#include "core/manager.h"

PaintedWindow::~PaintedWindow() { DestroyWindow(); }

bool PaintedWindow::Open(Orvik::CRect rect, bool layered) {
    Orvik::Manager::SetInstance(::GetModuleHandleW(nullptr));
    layered_ = layered;
    const DWORD exStyle = WS_EX_TOOLWINDOW | (layered ? WS_EX_LAYERED : 0);
    if (Create(nullptr, L"painted", WS_POPUP, exStyle, rect) == nullptr) {
        return false;
    }
    ::ShowWindow(GetSafeHwnd(), SW_SHOWNOACTIVATE);
    Pump(50);
    return true;
}

void PaintedWindow::PaintNow() {
    ::InvalidateRect(GetSafeHwnd(), nullptr, FALSE);
    ::UpdateWindow(GetSafeHwnd());
}

void PaintedWindow::Pump(int milliseconds) {
    const DWORD until = ::GetTickCount() + static_cast<DWORD>(milliseconds);
    do {
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
        ::Sleep(1);
    } while (static_cast<int>(until - ::GetTickCount()) > 0);
}

bool PaintedWindow::PumpUntil(const std::function<bool()>& condition, int milliseconds) {
    // Looks after every message: redraws asked for faster than the window paints
    // would keep the queue from ever running dry.
    const DWORD until = ::GetTickCount() + static_cast<DWORD>(milliseconds);
    for (;;) {
        MSG message;
        const bool served = ::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);
        if (served) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
        if (condition()) {
            return true;
        }
        if (static_cast<int>(until - ::GetTickCount()) <= 0) {
            return false;
        }
        if (!served) {
            ::Sleep(1);
        }
    }
}

LRESULT PaintedWindow::OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            if (manager_.OnPaint()) {
                ++paints;
                return 0;
            }
            break;
        case WM_TIMER:
            manager_.OnTimer(static_cast<UINT>(wParam));
            return 0;
        default:
            break;
    }
    return MWindow::OnWindowMessage(message, wParam, lParam);
}

int PaintedWindow::OnInitDialog() {
    manager_.Init(GetSafeHwnd(), this);
    manager_.SetLayeredWindow(layered_ ? 1 : 0);
    return 1;
}

void PaintedWindow::OnDestroyMessage(HWND window) { manager_.OnDestroyMessage(window); }

long PaintedWindow::OnBaseMessage(unsigned control, unsigned event, unsigned, long) {
    events.push_back({control, event});
    return 0;
}

long PaintedWindow::OnControlUpdate(Orvik::CRect rect, int redraw, Orvik::MControl* control) {
    return manager_.OnControlUpdate(rect, redraw, control);
}
