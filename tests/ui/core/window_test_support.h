#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/manager.h"
#include "core/mwindow.h"

// A window object that writes down what reaches it, in order.
class RecordingWindow : public Orvik::MWindow {
public:
    std::vector<std::string> events;
    std::vector<UINT> messages;
    HWND handleAtInit = nullptr;
    HWND destroyedWindow = nullptr;
    HWND handleAtDestroyMessage = reinterpret_cast<HWND>(1);
    // What the window still held for its object while the final destroy ran.
    LONG_PTR userDataAtDestroyMessage = -1;
    HANDLE propertyAtDestroyMessage = reinterpret_cast<HANDLE>(1);

    LRESULT OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        messages.push_back(message);
        switch (message) {
            case WM_NCCREATE:
                events.push_back("WM_NCCREATE");
                break;
            case WM_CREATE:
                events.push_back("WM_CREATE");
                break;
            case WM_DESTROY:
                events.push_back("WM_DESTROY");
                break;
            default:
                break;
        }
        return MWindow::OnWindowMessage(message, wParam, lParam);
    }

    int OnInitDialog() override {
        events.push_back("OnInitDialog");
        handleAtInit = GetSafeHwnd();
        return 1;
    }

    void OnDestroyMessage(HWND window) override {
        events.push_back("OnDestroyMessage");
        destroyedWindow = window;
        handleAtDestroyMessage = GetSafeHwnd();
        userDataAtDestroyMessage = ::GetWindowLongPtrW(window, GWLP_USERDATA);
        propertyAtDestroyMessage = ::GetPropW(window, L"Control");
    }

    int Count(UINT message) const {
        int count = 0;
        for (const UINT seen : messages) {
            count += seen == message ? 1 : 0;
        }
        return count;
    }
};

// Windows of the tests register their classes under the test program's module.
class WindowTest : public testing::Test {
protected:
    void SetUp() override { Orvik::Manager::SetInstance(::GetModuleHandleW(nullptr)); }
};

// Dispatches whatever is waiting in this thread's queue.
inline void PumpMessages() {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}
