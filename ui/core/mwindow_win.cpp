#include "core/mwindow.h"

#include "core/geometry.h"
#include "core/manager.h"
#include "core/rect_win.h"

namespace Orvik {

namespace {

constexpr wchar_t kDefaultWindowName[] = L"MWindow";
constexpr DWORD kDefaultStyle = 0x0000080B;
constexpr CRect kDefaultRect{0, 0, 800, 600};
constexpr UINT kClassStyle = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
constexpr UINT kFrameRefreshFlags = SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;

// Where a window keeps the pointer back to its object: the user-data slot for
// windows of our own classes, a property for superclassed ones (whose original
// procedure may use the slot itself).
struct UserDataSlot {
    static MWindow* Get(HWND window) { return reinterpret_cast<MWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA)); }
    static void Set(HWND window, MWindow* object) {
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(object));
    }
    static void Clear(HWND window) { ::SetWindowLongPtrW(window, GWLP_USERDATA, 0); }
};

struct PropertySlot {
    static constexpr wchar_t kName[] = L"Control";
    static MWindow* Get(HWND window) { return static_cast<MWindow*>(::GetPropW(window, kName)); }
    static void Set(HWND window, MWindow* object) { ::SetPropW(window, kName, object); }
    static void Clear(HWND window) { ::RemovePropW(window, kName); }
};

bool RegisteredOrExisting(ATOM atom) { return atom != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS; }

}  // namespace

// The window procedures reach the object's private members through this.
struct WindowProcedure {
    template <typename Slot>
    static LRESULT Route(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        MWindow* object = nullptr;
        if (message == WM_NCCREATE) {
            object = static_cast<MWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
            if (object != nullptr) {
                object->window_ = window;
                Slot::Set(window, object);
            }
        } else {
            object = Slot::Get(window);
            if (object != nullptr && message == WM_NCDESTROY) {
                const LRESULT result = ::CallWindowProcW(object->baseProcedure_, window, message, wParam, lParam);
                Slot::Clear(window);
                object->window_ = nullptr;
                object->OnDestroyMessage(window);
                return result;
            }
        }
        if (object == nullptr) {
            return ::DefWindowProcW(window, message, wParam, lParam);
        }
        return object->OnWindowMessage(message, wParam, lParam);
    }
};

MWindow::~MWindow() {
    // The window outlives an object deleted too early; its messages then go to the
    // default procedure instead of into freed memory.
    if (HasWindow()) {
        if (UserDataSlot::Get(window_) == this) {
            UserDataSlot::Clear(window_);
        }
        if (PropertySlot::Get(window_) == this) {
            PropertySlot::Clear(window_);
        }
    }
}

const wchar_t* MWindow::GetWindowClassName() const { return L"MWindow"; }
const wchar_t* MWindow::GetSuperClassName() const { return nullptr; }

int MWindow::ShowWindow(int showCommand) { return HasHandle() ? ::ShowWindow(window_, showCommand) : 0; }

LRESULT MWindow::OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::CallWindowProcW(baseProcedure_, window_, message, wParam, lParam);
}

int MWindow::PreTranslateMessage(MSG*) { return 0; }
int MWindow::OnInitDialog() { return 1; }
void MWindow::OnDestroyMessage(HWND) {}

HWND MWindow::Create(HWND parent, const wchar_t* windowName, DWORD style, DWORD exStyle, CRect rect, HMENU menu) {
    if (HasWindow()) {
        return window_;
    }
    parent_ = parent;
    const int registered = GetSuperClassName() != nullptr ? RegisterSuperClass() : RegisterWindowClass();
    if (!registered) {
        return nullptr;
    }
    const HWND window = ::CreateWindowExW(exStyle, GetWindowClassName(), windowName, style, rect.left, rect.top,
                                          rect.Width(), rect.Height(), parent, menu, Manager::m_hInstance, this);
    // Derived classes initialise here, after every creation-time message; they must
    // cope with a window that failed to come.
    OnInitDialog();
    return window;
}

HWND MWindow::Create(HWND parent, const wchar_t* windowName, DWORD style, DWORD exStyle, CRect rect) {
    return Create(parent, windowName, style, exStyle, rect, nullptr);
}

HWND MWindow::Create(HWND parent, CRect rect) { return Create(parent, kDefaultWindowName, kDefaultStyle, 0, rect); }

HWND MWindow::Create(HWND parent) { return Create(parent, kDefaultRect); }

int MWindow::RegisterWindowClass() {
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = kClassStyle;
    windowClass.lpfnWndProc = WndProc;
    windowClass.hInstance = Manager::m_hInstance;
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = GetWindowClassName();
    return RegisteredOrExisting(::RegisterClassExW(&windowClass)) ? 1 : 0;
}

int MWindow::RegisterSuperClass() {
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    if (!::GetClassInfoExW(nullptr, GetSuperClassName(), &windowClass) &&
        !::GetClassInfoExW(Manager::m_hInstance, GetSuperClassName(), &windowClass)) {
        return 0;
    }
    baseProcedure_ = windowClass.lpfnWndProc;
    windowClass.lpfnWndProc = ControlProc;
    windowClass.hInstance = Manager::m_hInstance;
    windowClass.lpszClassName = GetWindowClassName();
    return RegisteredOrExisting(::RegisterClassExW(&windowClass)) ? 1 : 0;
}

UINT MWindow::ShowModal(int showCommand) {
    if (!HasWindow()) {
        return 0xFFFFFFFF;
    }
    // A local copy: the object's own handle is cleared when the window goes.
    const HWND window = window_;
    const HWND owner = ::GetWindow(window, GW_OWNER);
    ::ShowWindow(window, showCommand);
    if (owner != nullptr) {
        ::EnableWindow(owner, FALSE);
    }

    const auto releaseOwner = [owner] {
        // Enabled again before this window goes, so activation returns to the owner.
        // Without an owner there is nothing to hand the focus to (a null focus would
        // take it from whatever window has it).
        if (owner != nullptr) {
            ::EnableWindow(owner, TRUE);
            ::SetFocus(owner);
        }
    };
    UINT result = 0;
    bool quit = false;
    MSG message = {};
    while (::IsWindow(window)) {
        // 0 is the quit message; -1 a failed call, which would otherwise spin here.
        const BOOL got = ::GetMessageW(&message, nullptr, 0, 0);
        if (got <= 0) {
            quit = got == 0;
            break;
        }
        if (message.message == WM_CLOSE && message.hwnd == window) {
            result = static_cast<UINT>(message.wParam);
            releaseOwner();
        }
        if (!PreTranslateMessage(&message)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
    }
    releaseOwner();
    if (quit) {
        ::PostQuitMessage(static_cast<int>(message.wParam));
    }
    return result;
}

HWND MWindow::GetSafeHwnd() const { return window_; }
HWND MWindow::GetParentHwnd() const { return parent_; }

int MWindow::DestroyWindow() { return HasWindow() ? ::DestroyWindow(window_) : 0; }

DWORD MWindow::GetStyle() const { return HasHandle() ? static_cast<DWORD>(::GetWindowLongW(window_, GWL_STYLE)) : 0; }

DWORD MWindow::GetExStyle() const {
    return HasHandle() ? static_cast<DWORD>(::GetWindowLongW(window_, GWL_EXSTYLE)) : 0;
}

int MWindow::ModifyStyle(DWORD remove, DWORD add, UINT positionFlags) {
    return ModifyLong(GWL_STYLE, remove, add, positionFlags);
}

int MWindow::ModifyExStyle(DWORD remove, DWORD add, UINT positionFlags) {
    return ModifyLong(GWL_EXSTYLE, remove, add, positionFlags);
}

int MWindow::ModifyLong(int index, DWORD remove, DWORD add, UINT positionFlags) {
    if (!HasHandle()) {
        return 0;
    }
    const DWORD old = static_cast<DWORD>(::GetWindowLongW(window_, index));
    const DWORD updated = (old & ~remove) | add;
    if (updated == old) {
        return 0;
    }
    ::SetWindowLongW(window_, index, static_cast<LONG>(updated));
    if (positionFlags != 0) {
        ::SetWindowPos(window_, nullptr, 0, 0, 0, 0, positionFlags | kFrameRefreshFlags);
    }
    return 1;
}

int MWindow::GetClientRect(RECT* rect) const { return HasWindow() ? ::GetClientRect(window_, rect) : 0; }
int MWindow::GetWindowRect(RECT* rect) const { return HasWindow() ? ::GetWindowRect(window_, rect) : 0; }

int MWindow::SetWindowTextW(const wchar_t* text) { return HasWindow() ? ::SetWindowTextW(window_, text) : 0; }

int MWindow::GetWindowTextW(std::wstring& text) const {
    if (!HasWindow()) {
        return 0;
    }
    std::wstring buffer(static_cast<std::size_t>(::GetWindowTextLengthW(window_)) + 1, L'\0');
    const int copied = ::GetWindowTextW(window_, buffer.data(), static_cast<int>(buffer.size()));
    text.assign(buffer.data(), static_cast<std::size_t>(copied));
    return copied;
}

int MWindow::GetWindowTextLengthW() const { return HasWindow() ? ::GetWindowTextLengthW(window_) : -1; }

int MWindow::EnableWindow(int enable) { return HasWindow() ? ::EnableWindow(window_, enable) : 0; }
int MWindow::IsWindowEnabled() const { return HasWindow() ? ::IsWindowEnabled(window_) : 0; }
int MWindow::IsWindowVisible() const { return HasWindow() ? ::IsWindowVisible(window_) : 0; }
int MWindow::IsIconic() const { return HasWindow() ? ::IsIconic(window_) : 0; }

void MWindow::InvalidateRect(CRect rect, int erase) {
    if (HasWindow()) {
        const RECT area = ToRECT(rect);
        ::InvalidateRect(window_, &area, erase);
    }
}

HWND MWindow::SetCapture() { return HasWindow() ? ::SetCapture(window_) : nullptr; }
int MWindow::ReleaseCapture() { return HasWindow() ? ::ReleaseCapture() : 0; }
HWND MWindow::SetFocus() { return HasWindow() ? ::SetFocus(window_) : nullptr; }

UINT_PTR MWindow::SetTimer(UINT_PTR timerId, UINT interval, TIMERPROC procedure) {
    return HasWindow() ? ::SetTimer(window_, timerId, interval, procedure) : 0;
}

int MWindow::KillTimer(UINT_PTR timerId) { return HasWindow() ? ::KillTimer(window_, timerId) : 0; }

int MWindow::ClientToScreen(POINT* point) const { return HasWindow() ? ::ClientToScreen(window_, point) : 0; }

int MWindow::ClientToScreen(RECT* rect) const {
    if (!HasWindow() || !::ClientToScreen(window_, reinterpret_cast<POINT*>(&rect->left))) {
        return 0;
    }
    return ::ClientToScreen(window_, reinterpret_cast<POINT*>(&rect->right));
}

int MWindow::ScreenToClient(POINT* point) const { return HasWindow() ? ::ScreenToClient(window_, point) : 0; }

int MWindow::ScreenToClient(RECT* rect) const {
    if (!HasWindow() || !::ScreenToClient(window_, reinterpret_cast<POINT*>(&rect->left))) {
        return 0;
    }
    return ::ScreenToClient(window_, reinterpret_cast<POINT*>(&rect->right));
}

int MWindow::SetWindowPos(HWND insertAfter, int x, int y, int width, int height, UINT flags) {
    return HasWindow() ? ::SetWindowPos(window_, insertAfter, x, y, width, height, flags) : 0;
}

int MWindow::MoveWindow(int x, int y, int width, int height, int repaint) {
    return HasWindow() ? ::MoveWindow(window_, x, y, width, height, repaint) : 0;
}

int MWindow::MoveWindow(const RECT* rect, int repaint) {
    if (rect == nullptr) {
        return 0;
    }
    return MoveWindow(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, repaint);
}

LRESULT MWindow::SendMessageW(UINT message, WPARAM wParam, LPARAM lParam) {
    return HasHandle() ? ::SendMessageW(window_, message, wParam, lParam) : 0;
}

LRESULT MWindow::PostMessageW(UINT message, WPARAM wParam, LPARAM lParam) {
    return HasHandle() ? ::PostMessageW(window_, message, wParam, lParam) : 0;
}

void MWindow::SetIcon(UINT iconId) {
    if (!HasWindow()) {
        return;
    }
    // Shared icons at the system's own sizes: the system frees them with the module,
    // so replacing them leaks nothing.
    const auto load = [iconId](int widthMetric, int heightMetric) {
        return ::LoadImageW(Manager::m_hInstance, MAKEINTRESOURCEW(iconId), IMAGE_ICON, ::GetSystemMetrics(widthMetric),
                            ::GetSystemMetrics(heightMetric), LR_SHARED);
    };
    ::SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(load(SM_CXICON, SM_CYICON)));
    ::SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(load(SM_CXSMICON, SM_CYSMICON)));
}

void MWindow::CenterWindow(MWindow* reference) {
    if (!HasWindow()) {
        return;
    }
    const DWORD style = GetStyle();
    const bool child = (style & WS_CHILD) != 0;
    HWND centreOn = nullptr;
    if (reference != nullptr && reference->GetSafeHwnd() != nullptr) {
        centreOn = reference->GetSafeHwnd();
    } else {
        centreOn = child ? ::GetParent(window_) : ::GetWindow(window_, GW_OWNER);
    }

    RECT window = {};
    ::GetWindowRect(window_, &window);
    RECT area = {};
    RECT centre = {};
    if (child) {
        const HWND parent = ::GetParent(window_);
        ::GetClientRect(parent, &area);
        centre = area;
        if (centreOn != nullptr) {
            ::GetClientRect(centreOn, &centre);
            ::MapWindowPoints(centreOn, parent, reinterpret_cast<POINT*>(&centre), 2);
        }
    } else {
        const DWORD centreStyle = centreOn != nullptr ? static_cast<DWORD>(::GetWindowLongW(centreOn, GWL_STYLE)) : 0;
        const bool shown = (centreStyle & WS_VISIBLE) != 0 && (centreStyle & WS_MINIMIZE) == 0;
        MONITORINFO monitor = {};
        monitor.cbSize = sizeof(monitor);
        ::GetMonitorInfoW(::MonitorFromWindow(shown ? centreOn : window_, MONITOR_DEFAULTTONEAREST), &monitor);
        area = monitor.rcWork;
        if (shown) {
            ::GetWindowRect(centreOn, &centre);
        } else {
            centre = area;
        }
    }
    const CPoint origin =
        CenteredOrigin(ToCRect(centre), ToCRect(area), window.right - window.left, window.bottom - window.top);
    ::SetWindowPos(window_, nullptr, origin.x, origin.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MWindow::BringToTop() {
    if (!HasWindow()) {
        return;
    }
    const HWND foreground = ::GetForegroundWindow();
    const DWORD foregroundThread = ::GetWindowThreadProcessId(foreground, nullptr);
    const DWORD ownThread = ::GetWindowThreadProcessId(window_, nullptr);
    if (foreground != nullptr && foregroundThread != ownThread) {
        // The system lets only the foreground's input queue hand the foreground on.
        ::AttachThreadInput(ownThread, foregroundThread, TRUE);
        ::AllowSetForegroundWindow(ASFW_ANY);
        ::SetForegroundWindow(window_);
        ::AttachThreadInput(ownThread, foregroundThread, FALSE);
    } else {
        ::SetForegroundWindow(window_);
    }
    ::ShowWindow(window_, ::IsIconic(window_) ? SW_RESTORE : SW_SHOW);
}

LRESULT CALLBACK MWindow::WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return WindowProcedure::Route<UserDataSlot>(window, message, wParam, lParam);
}

LRESULT CALLBACK MWindow::ControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return WindowProcedure::Route<PropertySlot>(window, message, wParam, lParam);
}

bool MWindow::HasWindow() const { return window_ != nullptr && ::IsWindow(window_); }

bool MWindow::HasHandle() const { return window_ != nullptr && window_ != reinterpret_cast<HWND>(~UINT_PTR{0}); }

}  // namespace Orvik
