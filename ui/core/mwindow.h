#pragma once

#include <windows.h>

#include <string>

#include "core/orvik_api.h"
#include "core/rect.h"

namespace Orvik {

// Wraps one native window: registers its class, creates it with a back pointer to
// this object, routes its messages to OnWindowMessage, runs a modal loop and offers
// thin wrappers of the window calls. The object should outlive its window: destroying
// the object does not destroy the window, it only cuts the window loose.
class ORVIK_API MWindow {
public:
    MWindow() = default;
    virtual ~MWindow();
    MWindow(const MWindow&) = delete;
    MWindow& operator=(const MWindow&) = delete;

    virtual const wchar_t* GetWindowClassName() const;
    // Non-null makes the window class a copy of this (system or program) class.
    virtual const wchar_t* GetSuperClassName() const;
    virtual int ShowWindow(int showCommand);
    // Unhandled messages belong to the base window procedure.
    virtual LRESULT OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // Non-zero keeps the modal loop from translating and dispatching the message.
    virtual int PreTranslateMessage(MSG* message);
    // Runs once Create has returned from the system, also when creation failed.
    virtual int OnInitDialog();
    // The final destroy message has arrived; the object has already let go of `window`.
    virtual void OnDestroyMessage(HWND window);

    HWND Create(HWND parent, const wchar_t* windowName, DWORD style, DWORD exStyle, CRect rect, HMENU menu);
    HWND Create(HWND parent, const wchar_t* windowName, DWORD style, DWORD exStyle, CRect rect);
    HWND Create(HWND parent, CRect rect);
    HWND Create(HWND parent);
    int RegisterWindowClass();
    int RegisterSuperClass();

    // Shows the window and serves the thread's posted messages until the window is
    // gone; the owner is disabled meanwhile. Returns the wParam of the close message
    // posted to the window (0 if none, 0xFFFFFFFF without a window). A quit message
    // ends the run early and is posted again for the loop outside.
    UINT ShowModal(int showCommand);

    HWND GetSafeHwnd() const;
    HWND GetParentHwnd() const;
    int DestroyWindow();
    DWORD GetStyle() const;
    DWORD GetExStyle() const;
    // New style = (old without `remove`) with `add`. 0 when that changes nothing;
    // otherwise stores it, refreshes the frame if `positionFlags` is non-zero, and gives 1.
    int ModifyStyle(DWORD remove, DWORD add, UINT positionFlags);
    int ModifyExStyle(DWORD remove, DWORD add, UINT positionFlags);
    int GetClientRect(RECT* rect) const;
    int GetWindowRect(RECT* rect) const;
    int SetWindowTextW(const wchar_t* text);
    int GetWindowTextW(std::wstring& text) const;
    int GetWindowTextLengthW() const;  // -1 without a window
    int EnableWindow(int enable);
    int IsWindowEnabled() const;
    int IsWindowVisible() const;
    int IsIconic() const;
    // May be called from any thread.
    void InvalidateRect(CRect rect, int erase);
    HWND SetCapture();
    int ReleaseCapture();
    HWND SetFocus();
    UINT_PTR SetTimer(UINT_PTR timerId, UINT interval, TIMERPROC procedure);
    int KillTimer(UINT_PTR timerId);
    int ClientToScreen(POINT* point) const;
    int ClientToScreen(RECT* rect) const;
    int ScreenToClient(POINT* point) const;
    int ScreenToClient(RECT* rect) const;
    int SetWindowPos(HWND insertAfter, int x, int y, int width, int height, UINT flags);
    int MoveWindow(int x, int y, int width, int height, int repaint);
    int MoveWindow(const RECT* rect, int repaint);
    LRESULT SendMessageW(UINT message, WPARAM wParam, LPARAM lParam);
    // May be called from any thread.
    LRESULT PostMessageW(UINT message, WPARAM wParam, LPARAM lParam);
    // Big and small icons from the program's icon resource `iconId`.
    void SetIcon(UINT iconId);
    // Centres on `reference`'s window, else on the parent (child windows) or the
    // owner, keeping the window inside the parent's client area or the work area.
    void CenterWindow(MWindow* reference);
    // Foreground, restored if minimised, also when another thread owns the foreground.
    void BringToTop();

    static LRESULT CALLBACK WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // The procedure of superclassed windows: the back pointer lives in a window property.
    static LRESULT CALLBACK ControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
    friend struct WindowProcedure;

    HWND parent_ = nullptr;
    // Set at the first creation message, cleared at the final destroy message.
    HWND window_ = nullptr;
    // Where unhandled messages go: the superclass's own procedure for superclasses.
    WNDPROC baseProcedure_ = ::DefWindowProcW;
    int reserved_ = 0;  // unused; keeps the object's layout

    // A non-null handle that the system still knows as a window.
    bool HasWindow() const;
    // Non-null and not all ones: the lighter test of the style and message calls.
    bool HasHandle() const;
    int ModifyLong(int index, DWORD remove, DWORD add, UINT positionFlags);
};

}  // namespace Orvik
