#include <windows.h>

#include <gtest/gtest.h>

#include <thread>

#include "core/manager.h"
#include "window_test_support.h"

namespace {

using Orvik::CRect;
using Orvik::Manager;

void PressKeys(std::initializer_list<WORD> keys, bool down) {
    for (const WORD key : keys) {
        INPUT input = {};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
        input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
        ::SendInput(1, &input, sizeof(input));
    }
}

class MessageLoop : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        ASSERT_NE(window.Create(nullptr, L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, CRect{100, 100, 400, 300}), nullptr);
        ::SetForegroundWindow(window.GetSafeHwnd());
        window.SetFocus();
        PumpMessages();
    }
    void TearDown() override {
        PressKeys({VK_F4, VK_MENU}, false);
        window.DestroyWindow();
        PumpMessages();
    }

    // Holds Alt+F4 down on this thread, then from another thread lets go and ends the
    // loop, so `loop` runs while the keys are down and their messages are queued.
    template <typename Loop>
    void HoldAltF4While(Loop loop) {
        PressKeys({VK_MENU, VK_F4}, true);
        const DWORD loopThread = ::GetCurrentThreadId();
        std::thread releaser([loopThread] {
            ::Sleep(300);
            PressKeys({VK_F4, VK_MENU}, false);
            ::Sleep(200);
            ::PostThreadMessageW(loopThread, WM_QUIT, 0, 0);
        });
        loop();
        releaser.join();
    }

    RecordingWindow window;
};

TEST_F(MessageLoop, AltF4IsDroppedSoTheWindowStaysOpen) {
    HoldAltF4While([] { Manager::MessageLoop(); });
    EXPECT_NE(window.GetSafeHwnd(), nullptr);
    EXPECT_EQ(window.Count(WM_SYSKEYDOWN), 0);
    EXPECT_EQ(window.Count(WM_CLOSE), 0);
}

// The check above means something only if Alt+F4 closes a window served by a plain loop.
TEST_F(MessageLoop, APlainLoopLetsAltF4CloseTheWindow) {
    HoldAltF4While([] {
        MSG message;
        while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
    });
    EXPECT_GT(window.Count(WM_CLOSE), 0);
    EXPECT_EQ(window.GetSafeHwnd(), nullptr);
}

TEST_F(MessageLoop, PreTranslateMessageTellsWhetherAltAndF4AreBothHeld) {
    // A key counts as held also when it was pressed since the last query; one query
    // forgets that. Under Wine the mark sits on the left Alt key, and a thread's view
    // of the keys lags by a few tens of milliseconds.
    const auto settle = [] {
        ::Sleep(100);
        for (const int key : {VK_LMENU, VK_MENU, VK_F4}) {
            ::GetAsyncKeyState(key);
        }
    };
    MSG message = {};
    settle();
    EXPECT_EQ(Manager::PreTranslateMessage(&message), 0);
    PressKeys({VK_MENU}, true);
    settle();
    EXPECT_EQ(Manager::PreTranslateMessage(&message), 0);
    PressKeys({VK_F4}, true);
    settle();
    EXPECT_EQ(Manager::PreTranslateMessage(&message), 1);
    PressKeys({VK_MENU}, false);
    settle();
    EXPECT_EQ(Manager::PreTranslateMessage(&message), 0);
    PressKeys({VK_F4}, false);
    PumpMessages();
}

TEST_F(MessageLoop, OtherMessagesAreDispatchedUntilTheQuitMessage) {
    constexpr UINT kProbe = WM_APP + 7;
    window.PostMessageW(kProbe, 0, 0);
    window.PostMessageW(kProbe, 0, 0);
    ::PostQuitMessage(0);
    Manager::MessageLoop();
    EXPECT_EQ(window.Count(kProbe), 2);
}

}  // namespace
