#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "core/mwindow.h"
#include "core/rect_win.h"
#include "window_test_support.h"

namespace {

using Orvik::CRect;
using Orvik::MWindow;
using Strings = std::vector<std::string>;

// ---- Creation and the back pointer -------------------------------------------------

using WindowCreation = WindowTest;

TEST_F(WindowCreation, CreationMessagesComeBeforeOnInitDialogAndASecondCreateChangesNothing) {
    RecordingWindow window;
    const HWND handle = window.Create(nullptr, L"Recorder", WS_POPUP, WS_EX_TOOLWINDOW, CRect{10, 20, 210, 170});
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(window.GetSafeHwnd(), handle);
    EXPECT_EQ(window.handleAtInit, handle);
    EXPECT_EQ(window.events, (Strings{"WM_NCCREATE", "WM_CREATE", "OnInitDialog"}));
    EXPECT_EQ(::GetWindowLongPtrW(handle, GWLP_USERDATA), reinterpret_cast<LONG_PTR>(&window));

    wchar_t className[64] = {};
    ::GetClassNameW(handle, className, 64);
    EXPECT_STREQ(className, L"MWindow");
    RECT placed = {};
    ::GetWindowRect(handle, &placed);
    EXPECT_EQ(Orvik::ToCRect(placed), (CRect{10, 20, 210, 170}));  // size from exclusive right and bottom
    EXPECT_EQ(window.GetExStyle() & WS_EX_TOOLWINDOW, static_cast<DWORD>(WS_EX_TOOLWINDOW));
    std::wstring text;
    window.GetWindowTextW(text);
    EXPECT_EQ(text, L"Recorder");

    EXPECT_EQ(window.Create(nullptr, L"Again", WS_POPUP, 0, CRect{0, 0, 50, 50}), handle);
    EXPECT_EQ(window.events.size(), 3u);
    window.GetWindowTextW(text);
    EXPECT_EQ(text, L"Recorder");
    window.DestroyWindow();
}

TEST_F(WindowCreation, FinalDestroyClearsTheBackPointerBeforeOnDestroyMessage) {
    RecordingWindow window;
    const HWND handle = window.Create(nullptr, L"", WS_POPUP, 0, CRect{0, 0, 100, 100});
    ASSERT_NE(handle, nullptr);
    window.events.clear();

    EXPECT_NE(window.DestroyWindow(), 0);
    EXPECT_EQ(window.events, (Strings{"WM_DESTROY", "OnDestroyMessage"}));
    EXPECT_EQ(window.destroyedWindow, handle);
    EXPECT_EQ(window.handleAtDestroyMessage, nullptr);
    EXPECT_EQ(window.GetSafeHwnd(), nullptr);
    EXPECT_FALSE(::IsWindow(handle));
    // The final destroy message went to the base procedure, not the handler.
    EXPECT_EQ(window.Count(WM_NCDESTROY), 0);

    // The object can make a new window afterwards.
    EXPECT_NE(window.Create(nullptr), nullptr);
    window.DestroyWindow();
}

TEST_F(WindowCreation, AnObjectDeletedBeforeItsWindowCutsTheWindowLoose) {
    HWND handle = nullptr;
    HWND editHandle = nullptr;
    {
        RecordingWindow window;
        handle = window.Create(nullptr, L"", WS_POPUP, 0, CRect{0, 0, 100, 100});
        ASSERT_NE(handle, nullptr);
        class Edit : public RecordingWindow {
            const wchar_t* GetWindowClassName() const override { return L"OrvikTestLooseEdit"; }
            const wchar_t* GetSuperClassName() const override { return L"EDIT"; }
        } edit;
        editHandle = edit.Create(handle, L"", WS_CHILD, 0, CRect{0, 0, 50, 20});
        ASSERT_NE(editHandle, nullptr);
    }
    EXPECT_TRUE(::IsWindow(handle));
    EXPECT_EQ(::GetWindowLongPtrW(handle, GWLP_USERDATA), 0);
    EXPECT_EQ(::GetPropW(editHandle, L"Control"), nullptr);
    // Messages, the final destroy included, no longer reach the freed objects.
    ::SendMessageW(handle, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"still here"));
    EXPECT_NE(::DestroyWindow(handle), 0);
    EXPECT_FALSE(::IsWindow(editHandle));
}

class RefusingWindow : public RecordingWindow {
public:
    LRESULT OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_CREATE) {
            RecordingWindow::OnWindowMessage(message, wParam, lParam);
            return -1;  // creation fails
        }
        return RecordingWindow::OnWindowMessage(message, wParam, lParam);
    }
};

TEST_F(WindowCreation, FailedCreationReturnsNullAfterOnInitDialog) {
    RefusingWindow window;
    EXPECT_EQ(window.Create(nullptr, L"", WS_POPUP, 0, CRect{0, 0, 100, 100}), nullptr);
    ASSERT_FALSE(window.events.empty());
    EXPECT_EQ(window.events.back(), "OnInitDialog");
    EXPECT_EQ(window.handleAtInit, nullptr);
    EXPECT_EQ(window.GetSafeHwnd(), nullptr);
}

class UnknownSuperClass : public RecordingWindow {
public:
    const wchar_t* GetWindowClassName() const override { return L"OrvikTestNoBase"; }
    const wchar_t* GetSuperClassName() const override { return L"OrvikTestNoSuchClass"; }
};

TEST_F(WindowCreation, FailedRegistrationReturnsNullWithoutOnInitDialog) {
    UnknownSuperClass window;
    EXPECT_EQ(window.Create(nullptr), nullptr);
    EXPECT_TRUE(window.events.empty());
    EXPECT_EQ(window.RegisterSuperClass(), 0);
}

TEST_F(WindowCreation, ShortFormsUseTheDefaultNameStyleAndRectangle) {
    RecordingWindow owner;
    ASSERT_NE(owner.Create(nullptr, L"", WS_POPUP, 0, CRect{0, 0, 50, 50}), nullptr);

    RecordingWindow whole;
    ASSERT_NE(whole.Create(owner.GetSafeHwnd()), nullptr);
    RECT placed = {};
    whole.GetWindowRect(&placed);
    EXPECT_EQ(Orvik::ToCRect(placed), (CRect{0, 0, 800, 600}));
    EXPECT_EQ(whole.GetStyle() & 0xFFFF, 0x080Bu);
    EXPECT_EQ(whole.GetExStyle() & ~static_cast<DWORD>(WS_EX_WINDOWEDGE), 0u);
    EXPECT_EQ(whole.GetParentHwnd(), owner.GetSafeHwnd());
    EXPECT_EQ(::GetWindow(whole.GetSafeHwnd(), GW_OWNER), owner.GetSafeHwnd());
    std::wstring text;
    whole.GetWindowTextW(text);
    EXPECT_EQ(text, L"MWindow");

    RecordingWindow placedAt;
    ASSERT_NE(placedAt.Create(nullptr, CRect{30, 40, 330, 240}), nullptr);
    placedAt.GetWindowRect(&placed);
    EXPECT_EQ(Orvik::ToCRect(placed), (CRect{30, 40, 330, 240}));

    placedAt.DestroyWindow();
    whole.DestroyWindow();
    owner.DestroyWindow();
}

// A copy of the system's edit class: unhandled messages reach the edit procedure.
class EditWindow : public RecordingWindow {
public:
    const wchar_t* GetWindowClassName() const override { return L"OrvikTestEdit"; }
    const wchar_t* GetSuperClassName() const override { return L"EDIT"; }
};

TEST_F(WindowCreation, SuperclassKeepsItsObjectInAPropertyAndFallsBackToTheOriginalProcedure) {
    RecordingWindow parent;
    ASSERT_NE(parent.Create(nullptr, L"", WS_POPUP, 0, CRect{0, 0, 300, 100}), nullptr);
    EditWindow edit;
    const HWND handle = edit.Create(parent.GetSafeHwnd(), L"start", WS_CHILD | WS_VISIBLE, 0, CRect{0, 0, 200, 24});
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(::GetPropW(handle, L"Control"), static_cast<HANDLE>(&edit));
    EXPECT_EQ(::GetWindowLongPtrW(handle, GWLP_USERDATA), 0);

    // Only the edit procedure knows its own messages; the default procedure answers 0.
    edit.SendMessageW(EM_SETLIMITTEXT, 33, 0);
    EXPECT_EQ(edit.SendMessageW(EM_GETLIMITTEXT, 0, 0), 33);
    EXPECT_GT(edit.Count(EM_GETLIMITTEXT), 0);
    EXPECT_NE(edit.SetWindowTextW(L"Grüße, 温度"), 0);
    std::wstring text;
    EXPECT_EQ(edit.GetWindowTextW(text), 9);
    EXPECT_EQ(text, L"Grüße, 温度");
    EXPECT_EQ(edit.GetWindowTextLengthW(), 9);

    // The second window of the class registers nothing new and works the same.
    EditWindow second;
    ASSERT_NE(second.Create(parent.GetSafeHwnd(), L"", WS_CHILD, 0, CRect{0, 30, 200, 54}), nullptr);
    second.SendMessageW(EM_SETLIMITTEXT, 5, 0);
    EXPECT_EQ(second.SendMessageW(EM_GETLIMITTEXT, 0, 0), 5);

    parent.DestroyWindow();  // takes the children with it
    EXPECT_EQ(edit.GetSafeHwnd(), nullptr);
    EXPECT_EQ(edit.destroyedWindow, handle);
    EXPECT_EQ(second.GetSafeHwnd(), nullptr);
}

// A message that reaches the window after its final destroy (or a handle the system
// hands out again) must not find the object through the window.
TEST_F(WindowCreation, FinalDestroyEmptiesTheObjectSlotOfOwnAndSuperclassedWindows) {
    RecordingWindow own;
    ASSERT_NE(own.Create(nullptr, L"", WS_POPUP, 0, CRect{0, 0, 300, 100}), nullptr);
    EditWindow edit;
    ASSERT_NE(edit.Create(own.GetSafeHwnd(), L"", WS_CHILD, 0, CRect{0, 0, 200, 24}), nullptr);
    ASSERT_EQ(::GetWindowLongPtrW(own.GetSafeHwnd(), GWLP_USERDATA), reinterpret_cast<LONG_PTR>(&own));
    ASSERT_EQ(::GetPropW(edit.GetSafeHwnd(), L"Control"), static_cast<HANDLE>(&edit));

    own.DestroyWindow();
    for (const RecordingWindow* window :
         {static_cast<const RecordingWindow*>(&own), static_cast<const RecordingWindow*>(&edit)}) {
        ASSERT_NE(window->destroyedWindow, nullptr);
        EXPECT_EQ(window->userDataAtDestroyMessage, 0);
        EXPECT_EQ(window->propertyAtDestroyMessage, nullptr);
    }
}

// ---- The modal loop -----------------------------------------------------------------

constexpr UINT kProbe = WM_APP + 1;

// Notes what the world looked like while the modal loop served it.
class ModalWindow : public RecordingWindow {
public:
    HWND owner = nullptr;
    bool ownerEnabledDuringRun = true;
    bool visibleDuringRun = false;

    LRESULT OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == kProbe) {
            ownerEnabledDuringRun = ::IsWindowEnabled(owner) != 0;
            visibleDuringRun = ::IsWindowVisible(GetSafeHwnd()) != 0;
        }
        return RecordingWindow::OnWindowMessage(message, wParam, lParam);
    }
};

class ModalLoop : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        ASSERT_NE(owner.Create(nullptr, L"", WS_POPUP | WS_VISIBLE, 0, CRect{0, 0, 300, 200}), nullptr);
        modal.owner = owner.GetSafeHwnd();
        ASSERT_NE(modal.Create(owner.GetSafeHwnd(), L"", WS_POPUP, 0, CRect{50, 50, 250, 150}), nullptr);
    }
    void TearDown() override {
        modal.DestroyWindow();
        owner.DestroyWindow();
        PumpMessages();
    }

    RecordingWindow owner;
    ModalWindow modal;
};

TEST_F(ModalLoop, EndsWithThePostedCloseCodeAndGivesTheOwnerBack) {
    modal.PostMessageW(kProbe, 0, 0);
    modal.PostMessageW(WM_CLOSE, 2, 0);
    EXPECT_EQ(modal.ShowModal(SW_SHOWNORMAL), 2u);

    EXPECT_FALSE(modal.ownerEnabledDuringRun);
    EXPECT_TRUE(modal.visibleDuringRun);
    EXPECT_EQ(modal.GetSafeHwnd(), nullptr);  // the close message destroyed it
    EXPECT_TRUE(owner.IsWindowEnabled());
}

TEST_F(ModalLoop, AQuitMessageEndsTheRunAndIsPostedAgain) {
    modal.PostMessageW(kProbe, 0, 0);
    ::PostQuitMessage(7);
    EXPECT_EQ(modal.ShowModal(SW_SHOWNORMAL), 0u);

    EXPECT_EQ(modal.Count(kProbe), 1);
    EXPECT_NE(modal.GetSafeHwnd(), nullptr);  // still there: nobody closed it
    EXPECT_TRUE(owner.IsWindowEnabled());
    MSG message = {};
    ASSERT_TRUE(::PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(message.wParam, 7u);
}

TEST_F(ModalLoop, WithoutAWindowReturnsMinusOneAndLeavesOtherWindowsAlone) {
    ModalWindow never;
    owner.SetFocus();
    const HWND focus = ::GetFocus();
    EXPECT_EQ(never.ShowModal(SW_SHOWNORMAL), 0xFFFFFFFFu);
    EXPECT_TRUE(owner.IsWindowEnabled());
    EXPECT_FALSE(modal.IsWindowVisible());
    EXPECT_EQ(::GetFocus(), focus);
}

class FilteringWindow : public ModalWindow {
public:
    int PreTranslateMessage(MSG* message) override { return message->message == kProbe ? 1 : 0; }
};

TEST_F(ModalLoop, MessagesThatPreTranslateMessageTakesAreNotDispatched) {
    FilteringWindow filtering;
    ASSERT_NE(filtering.Create(owner.GetSafeHwnd(), L"", WS_POPUP, 0, CRect{0, 0, 20, 20}), nullptr);
    filtering.PostMessageW(kProbe, 0, 0);
    filtering.PostMessageW(WM_CLOSE, 6, 0);
    EXPECT_EQ(filtering.ShowModal(SW_SHOWNA), 6u);
    EXPECT_EQ(filtering.Count(kProbe), 0);
    EXPECT_EQ(filtering.Count(WM_CLOSE), 1);
}

// ---- Wrappers -----------------------------------------------------------------------

using WindowWrappers = WindowTest;

TEST_F(WindowWrappers, DoNothingWithoutAWindow) {
    MWindow none;
    RECT rect = {1, 2, 3, 4};
    POINT point = {5, 6};
    std::wstring text = L"kept";
    EXPECT_EQ(none.GetSafeHwnd(), nullptr);
    EXPECT_EQ(none.DestroyWindow(), 0);
    EXPECT_EQ(none.GetStyle(), 0u);
    EXPECT_EQ(none.GetExStyle(), 0u);
    EXPECT_EQ(none.ModifyStyle(0, WS_VISIBLE, SWP_FRAMECHANGED), 0);
    EXPECT_EQ(none.ModifyExStyle(0, WS_EX_LAYERED, 0), 0);
    EXPECT_EQ(none.GetClientRect(&rect), 0);
    EXPECT_EQ(none.GetWindowRect(&rect), 0);
    EXPECT_EQ(none.SetWindowTextW(L"x"), 0);
    EXPECT_EQ(none.GetWindowTextW(text), 0);
    EXPECT_EQ(text, L"kept");
    EXPECT_EQ(none.GetWindowTextLengthW(), -1);
    EXPECT_EQ(none.EnableWindow(1), 0);
    EXPECT_EQ(none.IsWindowEnabled(), 0);
    EXPECT_EQ(none.IsWindowVisible(), 0);
    EXPECT_EQ(none.IsIconic(), 0);
    EXPECT_EQ(none.ShowWindow(SW_SHOW), 0);
    EXPECT_EQ(none.SetCapture(), nullptr);
    EXPECT_EQ(none.ReleaseCapture(), 0);
    EXPECT_EQ(none.SetFocus(), nullptr);
    EXPECT_EQ(none.SetTimer(1, 10, nullptr), 0u);
    EXPECT_EQ(none.KillTimer(1), 0);
    EXPECT_EQ(none.ClientToScreen(&point), 0);
    EXPECT_EQ(none.ScreenToClient(&rect), 0);
    EXPECT_EQ(none.SetWindowPos(nullptr, 0, 0, 1, 1, 0), 0);
    EXPECT_EQ(none.MoveWindow(&rect, 0), 0);
    EXPECT_EQ(none.SendMessageW(WM_NULL, 0, 0), 0);
    EXPECT_EQ(none.PostMessageW(WM_NULL, 0, 0), 0);
    EXPECT_EQ(rect.left, 1);  // untouched
    EXPECT_EQ(point.x, 5);
    none.InvalidateRect(CRect{0, 0, 1, 1}, 1);
    none.SetIcon(1);
    none.CenterWindow(nullptr);
    none.BringToTop();
}

TEST_F(WindowWrappers, ModifyStyleRefreshesTheFrameOnlyForARealChange) {
    RecordingWindow window;
    ASSERT_NE(window.Create(nullptr, L"", WS_POPUP | WS_BORDER, 0, CRect{0, 0, 100, 100}), nullptr);
    window.messages.clear();

    // Removing and adding the same bit changes nothing: 0, and no position change.
    EXPECT_EQ(window.ModifyStyle(WS_BORDER, WS_BORDER, SWP_FRAMECHANGED), 0);
    EXPECT_EQ(window.ModifyStyle(WS_CHILD, 0, SWP_FRAMECHANGED), 0);
    EXPECT_EQ(window.Count(WM_WINDOWPOSCHANGING), 0);
    EXPECT_EQ(window.GetStyle() & WS_BORDER, static_cast<DWORD>(WS_BORDER));

    EXPECT_EQ(window.ModifyStyle(WS_BORDER, 0, 0), 1);
    EXPECT_EQ(window.GetStyle() & WS_BORDER, 0u);
    EXPECT_EQ(window.Count(WM_WINDOWPOSCHANGING), 0);  // no flags, no refresh

    RECT before = {};
    window.GetWindowRect(&before);
    EXPECT_EQ(window.ModifyStyle(0, WS_BORDER, SWP_FRAMECHANGED), 1);
    EXPECT_EQ(window.Count(WM_WINDOWPOSCHANGING), 1);
    RECT after = {};
    window.GetWindowRect(&after);
    EXPECT_EQ(Orvik::ToCRect(after), Orvik::ToCRect(before));  // no move, no size

    EXPECT_EQ(window.ModifyExStyle(0, WS_EX_TOOLWINDOW, 0), 1);
    EXPECT_EQ(window.ModifyExStyle(0, WS_EX_TOOLWINDOW, 0), 0);
    EXPECT_EQ(window.GetExStyle() & WS_EX_TOOLWINDOW, static_cast<DWORD>(WS_EX_TOOLWINDOW));
    window.DestroyWindow();
}

// Records the flags of each position change.
class PositionWindow : public RecordingWindow {
public:
    std::vector<UINT> positionFlags;
    LRESULT OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_WINDOWPOSCHANGING) {
            positionFlags.push_back(reinterpret_cast<WINDOWPOS*>(lParam)->flags);
        }
        return RecordingWindow::OnWindowMessage(message, wParam, lParam);
    }
};

TEST_F(WindowWrappers, FrameRefreshKeepsPositionOrderAndActivation) {
    PositionWindow window;
    ASSERT_NE(window.Create(nullptr, L"", WS_POPUP, 0, CRect{0, 0, 100, 100}), nullptr);
    ASSERT_EQ(window.ModifyExStyle(0, WS_EX_TOOLWINDOW, SWP_FRAMECHANGED), 1);
    ASSERT_EQ(window.positionFlags.size(), 1u);
    const UINT expected = SWP_FRAMECHANGED | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;
    EXPECT_EQ(window.positionFlags[0] & expected, expected);
    window.DestroyWindow();
}

TEST_F(WindowWrappers, GeometryTimersAndInvalidation) {
    RecordingWindow window;
    ASSERT_NE(window.Create(nullptr, L"", WS_POPUP | WS_VISIBLE, 0, CRect{100, 100, 300, 250}), nullptr);

    const RECT target = {40, 60, 340, 260};
    EXPECT_NE(window.MoveWindow(&target, 0), 0);
    RECT placed = {};
    window.GetWindowRect(&placed);
    EXPECT_EQ(Orvik::ToCRect(placed), Orvik::ToCRect(target));
    RECT client = {};
    window.GetClientRect(&client);
    EXPECT_EQ(Orvik::ToCRect(client), (CRect{0, 0, 300, 200}));

    RECT corners = {1, 2, 11, 22};
    EXPECT_NE(window.ClientToScreen(&corners), 0);
    EXPECT_EQ(Orvik::ToCRect(corners), (CRect{41, 62, 51, 82}));
    EXPECT_NE(window.ScreenToClient(&corners), 0);
    EXPECT_EQ(Orvik::ToCRect(corners), (CRect{1, 2, 11, 22}));

    // Invalidation from another thread, as the program's worker does.
    PumpMessages();
    ::ValidateRect(window.GetSafeHwnd(), nullptr);
    std::thread([&window] { window.InvalidateRect(CRect{5, 6, 25, 16}, 0); }).join();
    RECT update = {};
    ASSERT_TRUE(::GetUpdateRect(window.GetSafeHwnd(), &update, FALSE));
    EXPECT_EQ(Orvik::ToCRect(update), (CRect{5, 6, 25, 16}));
    ::ValidateRect(window.GetSafeHwnd(), nullptr);

    EXPECT_EQ(window.SetTimer(42, 10, nullptr), 42u);
    MSG message = {};
    while (::GetMessageW(&message, nullptr, 0, 0) > 0 && message.message != WM_TIMER) {
        ::DispatchMessageW(&message);
    }
    EXPECT_EQ(message.message, static_cast<UINT>(WM_TIMER));
    EXPECT_EQ(message.wParam, 42u);
    EXPECT_NE(window.KillTimer(42), 0);
    EXPECT_EQ(window.KillTimer(42), 0);

    EXPECT_EQ(window.EnableWindow(0), 0);  // was enabled
    EXPECT_EQ(window.IsWindowEnabled(), 0);
    window.ShowWindow(SW_HIDE);
    EXPECT_EQ(window.IsWindowVisible(), 0);
    window.DestroyWindow();
}

TEST_F(WindowWrappers, BringToTopRestoresAMinimisedWindowToTheForeground) {
    RecordingWindow other;
    ASSERT_NE(other.Create(nullptr, L"", WS_POPUP | WS_VISIBLE, 0, CRect{0, 0, 100, 100}), nullptr);
    RecordingWindow window;
    ASSERT_NE(window.Create(nullptr, L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, CRect{50, 50, 250, 250}), nullptr);
    window.ShowWindow(SW_MINIMIZE);
    ASSERT_NE(window.IsIconic(), 0);
    ::SetForegroundWindow(other.GetSafeHwnd());
    PumpMessages();

    window.BringToTop();
    PumpMessages();
    EXPECT_EQ(window.IsIconic(), 0);
    EXPECT_NE(window.IsWindowVisible(), 0);
    EXPECT_EQ(::GetForegroundWindow(), window.GetSafeHwnd());
    window.DestroyWindow();
    other.DestroyWindow();
}

// Width of an icon's image, and whether its middle pixel is pure red or blue.
struct IconLook {
    LONG width = 0;
    COLORREF middle = 0;
};

IconLook LookAt(HICON icon) {
    IconLook look;
    ICONINFO info = {};
    if (icon == nullptr || !::GetIconInfo(icon, &info)) {
        return look;
    }
    BITMAP bitmap = {};
    ::GetObjectW(info.hbmColor, sizeof(bitmap), &bitmap);
    look.width = bitmap.bmWidth;
    const HDC screen = ::GetDC(nullptr);
    const HDC memory = ::CreateCompatibleDC(screen);
    const HGDIOBJ old = ::SelectObject(memory, info.hbmColor);
    look.middle = ::GetPixel(memory, bitmap.bmWidth / 2, bitmap.bmHeight / 2);
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    ::DeleteObject(info.hbmColor);
    ::DeleteObject(info.hbmMask);
    return look;
}

TEST_F(WindowWrappers, SetIconTakesBothSizesFromTheProgramsResource) {
    RecordingWindow window;
    ASSERT_NE(window.Create(nullptr, L"", WS_POPUP, 0, CRect{0, 0, 100, 100}), nullptr);
    window.SetIcon(7);  // the test program's icon: 32 x 32 red, 16 x 16 blue
    const IconLook big = LookAt(reinterpret_cast<HICON>(window.SendMessageW(WM_GETICON, ICON_BIG, 0)));
    const IconLook small = LookAt(reinterpret_cast<HICON>(window.SendMessageW(WM_GETICON, ICON_SMALL, 0)));
    EXPECT_EQ(big.width, ::GetSystemMetrics(SM_CXICON));
    EXPECT_EQ(big.middle, RGB(255, 0, 0));
    EXPECT_EQ(small.width, ::GetSystemMetrics(SM_CXSMICON));
    EXPECT_EQ(small.middle, RGB(0, 0, 255));

    window.SetIcon(8);  // no such icon: none is set
    EXPECT_EQ(window.SendMessageW(WM_GETICON, ICON_BIG, 0), 0);
    window.DestroyWindow();
}

// ---- Centring -----------------------------------------------------------------------

using WindowCentring = WindowTest;

CRect WorkAreaOf(HWND window) {
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    ::GetMonitorInfoW(::MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
    return Orvik::ToCRect(monitor.rcWork);
}

CRect WindowRectOf(const MWindow& window) {
    RECT rect = {};
    window.GetWindowRect(&rect);
    return Orvik::ToCRect(rect);
}

TEST_F(WindowCentring, TopLevelWindowsCentreOnTheWorkAreaAndStayInsideIt) {
    RecordingWindow window;
    ASSERT_NE(window.Create(nullptr, L"", WS_POPUP, 0, CRect{3, 3, 403, 303}), nullptr);
    const CRect work = WorkAreaOf(window.GetSafeHwnd());
    window.CenterWindow(nullptr);
    const int x = (work.left + work.right) / 2 - 200;
    const int y = (work.top + work.bottom) / 2 - 150;
    EXPECT_EQ(WindowRectOf(window), (CRect{x, y, x + 400, y + 300}));

    // Larger than the work area: at its left and top edges.
    window.MoveWindow(7, 7, work.Width() + 300, work.Height() + 200, 0);
    window.CenterWindow(nullptr);
    EXPECT_EQ(WindowRectOf(window).left, work.left);
    EXPECT_EQ(WindowRectOf(window).top, work.top);
    window.DestroyWindow();
}

TEST_F(WindowCentring, CentresOnAVisibleReferenceOrOwnerButNotOnAHiddenOne) {
    RecordingWindow reference;
    ASSERT_NE(reference.Create(nullptr, L"", WS_POPUP | WS_VISIBLE, 0, CRect{100, 100, 500, 400}), nullptr);
    RecordingWindow window;
    ASSERT_NE(window.Create(nullptr, L"", WS_POPUP, 0, CRect{0, 0, 200, 100}), nullptr);
    window.CenterWindow(&reference);
    EXPECT_EQ(WindowRectOf(window), (CRect{200, 200, 400, 300}));

    RecordingWindow owned;
    ASSERT_NE(owned.Create(reference.GetSafeHwnd(), L"", WS_POPUP, 0, CRect{0, 0, 100, 50}), nullptr);
    owned.CenterWindow(nullptr);
    EXPECT_EQ(WindowRectOf(owned), (CRect{250, 225, 350, 275}));

    reference.ShowWindow(SW_HIDE);
    const CRect work = WorkAreaOf(window.GetSafeHwnd());
    window.CenterWindow(&reference);
    const int x = (work.left + work.right) / 2 - 100;
    const int y = (work.top + work.bottom) / 2 - 50;
    EXPECT_EQ(WindowRectOf(window), (CRect{x, y, x + 200, y + 100}));

    owned.DestroyWindow();
    window.DestroyWindow();
    reference.DestroyWindow();
}

TEST_F(WindowCentring, ChildWindowsCentreInTheParentsClientArea) {
    RecordingWindow parent;
    ASSERT_NE(parent.Create(nullptr, L"", WS_POPUP | WS_VISIBLE, 0, CRect{300, 200, 900, 600}), nullptr);
    RecordingWindow child;
    ASSERT_NE(child.Create(parent.GetSafeHwnd(), L"", WS_CHILD | WS_VISIBLE, 0, CRect{0, 0, 101, 51}), nullptr);
    child.CenterWindow(nullptr);
    RECT placed = {};
    child.GetWindowRect(&placed);
    ::MapWindowPoints(nullptr, parent.GetSafeHwnd(), reinterpret_cast<POINT*>(&placed), 2);
    EXPECT_EQ(Orvik::ToCRect(placed), (CRect{250, 175, 351, 226}));  // 300 - 50, 200 - 25

    // A sibling as reference: centred on it, but kept inside the parent.
    RecordingWindow sibling;
    ASSERT_NE(sibling.Create(parent.GetSafeHwnd(), L"", WS_CHILD | WS_VISIBLE, 0, CRect{500, 300, 600, 400}), nullptr);
    child.CenterWindow(&sibling);
    child.GetWindowRect(&placed);
    ::MapWindowPoints(nullptr, parent.GetSafeHwnd(), reinterpret_cast<POINT*>(&placed), 2);
    EXPECT_EQ(Orvik::ToCRect(placed), (CRect{499, 325, 600, 376}));
    parent.DestroyWindow();
}

}  // namespace
