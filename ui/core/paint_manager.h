#pragma once

#include <windows.h>
#include <gdiplus.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "core/drop_target_win.h"
#include "core/font_store.h"
#include "core/gdi_handles.h"
#include "core/gdiplus_hold_win.h"
#include "core/message_panel.h"
#include "core/orvik_api.h"
#include "core/rect.h"
#include "core/rk_timer.h"
#include "render/image_cache.h"

namespace Orvik {

class MControl;
class MWindow;

// How the background image covers the client area.
enum enumBackMode { BackModeStretch = 0, BackModeFrame = 1 };
// Stored with a message; the panel looks the same at every level.
enum MsgLevel : int {};

// Paints a dialog: owns its controls in two z-ordered lists (areas beneath, normal
// controls above), renders the whole client area into a fresh 32-bit image on every
// paint, and puts it on the screen as a per-pixel-alpha layered window or by copying
// the invalid rectangle. On top it can draw the readings overlay and a fading
// message panel. Owns the dialog's private fonts and image cache. Its multimedia
// timer ticks the controls registered for it, on the system's timer thread.
class ORVIK_API PaintManager : public RKTimer, public CIDropTarget {
public:
    using ControlList = std::vector<std::unique_ptr<MControl>>;

    PaintManager();
    ~PaintManager() override;
    PaintManager(const PaintManager&) = delete;
    PaintManager& operator=(const PaintManager&) = delete;

    // Life cycle.
    void Init(HWND window, MWindow* dialog);
    // Releases everything the window needed; a detached manager stays detached.
    void DestroyData();
    void OnDestroyMessage(HWND window);
    int PostNcDestroy();

    // Controls: files one at the top of the area or the normal list; the manager
    // owns it from then on.
    MControl* AddAreaControl(std::unique_ptr<MControl> control);
    MControl* AddControl(std::unique_ptr<MControl> control);
    MControl* GetControl(unsigned id);
    ControlList* GetControls() { return &controls_; }
    void RemoveControl(MControl* control);
    void ClearAreaControls();
    void ClearControls();
    void ClearAllControls();
    // A control about to be deleted is neither hover nor focus control any more,
    // nor is it or any control inside it ticked by the multimedia timer. Waits for
    // a tick in progress, so the caller holds no control or child lock.
    void ForgetControl(MControl* control);
    MControl* GetFocusControl() const { return focus_; }
    MControl* GetHoverControl() const { return hover_; }
    // The old focus control loses the focus mark, the new one gets it.
    void SetFocusControl(MControl* control);

    // Drawing settings.
    void SetLayeredWindow(int layered) { layered_ = layered; }
    int IsLayered() const { return layered_; }
    void EnableDrawInfo(int enable) { drawInfo_ = enable; }
    void EnableWndDrag(int enable) { windowDrag_ = enable; }
    void SetBackColor(DWORD fill, DWORD border);
    int LoadBKImage(const std::wstring& file);
    int LoadBKImage(UINT id, const std::wstring& type);
    void SetBackMode(enumBackMode mode, int frame);
    void SetScrollResID(UINT vertical, UINT horizontal);
    void GetScrollResID(UINT& vertical, UINT& horizontal) const;
    void SetDefaultEnabledColor(DWORD color) { defaultEnabledColor_ = color; }
    DWORD GetDefaultEnabledColor() const { return defaultEnabledColor_; }
    void SetCaptionRect(CRect rect) { captionRect_ = rect; }
    void GetCaptionRect(CRect& rect) const { rect = captionRect_; }
    void SetWindowMaxSize(int width, int height);
    void GetWindowManSize(int& width, int& height) const;
    void SetWindowMixSize(int width, int height);
    void GetWindowMinSize(int& width, int& height) const;

    // Invalidation.
    void Invalidate();
    // The whole client area (erased) when layered, else `rect`.
    void InvalidateRect(CRect rect, int erase);
    // `control` changed within `rect`: refreshes it when `redraw`, and every visible
    // control drawn above it that overlaps `rect`, and invalidates their union.
    long OnControlUpdate(CRect rect, int redraw, MControl* control);

    // Painting; 1 when painted.
    int OnPaint();
    // OnPaint without the pause that ends it.
    int PaintFrame();
    // The message panel's timers 66, 88 and 99.
    void OnTimer(UINT id);

    // The multimedia timer that ticks the registered controls: one periodic timer
    // of `elapse` milliseconds whose id the manager remembers.
    void SetMTimer(unsigned elapse);
    void KillMTimer(unsigned id);
    void KillMTimer();
    // Registers `control` (not owned) for the ticks; 1. A control registered twice
    // is ticked twice.
    int AddMTimer(MControl* control);
    // Removes the first registration of `control`; 1 if there was one, else 0.
    int DeleteFSTimer(MControl* control);
    using RKTimer::OnMTimer;
    // Runs the registered controls' OnTimer on the timer thread.
    void OnMTimer(unsigned id) override;

    // Message panel.
    void SetMessage(const std::wstring& text, CRect rect, MsgLevel level);
    void SetProgress(int progress, const std::wstring& text, CRect rect);
    const MessagePanel& GetMessagePanel() const { return panel_; }

    // Accessors.
    HDC GetPaintDC() const { return windowDC_.Get().dc; }
    HWND GetPaintWnd() const { return window_; }
    HWND GetToolTipWnd() const { return window_; }
    MWindow* GetMDialog() const { return dialog_; }
    void GetClientRect(CRect& rect) const;
    void GetWindowRect(CRect& rect) const;
    void GetClientSize(int& width, int& height) const;
    // Both deliver synchronously; 0 without a window.
    LRESULT SendMessageW(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT PostMessageW(UINT message, WPARAM wParam, LPARAM lParam);
    int GetTooltipCtrlID() const { return tooltipControlId_; }
    void SetTooltipCtrlID(int id) { tooltipControlId_ = id; }

    // Shadow, balloon, caret and drag serve windows and controls this library does
    // not describe; they keep their names and do nothing.
    void CreateShadow() {}
    void SetSize(int) {}
    void SetSharpness(unsigned) {}
    void SetDarkness(unsigned) {}
    void SetPosition(int, int) {}
    void SetShadowColor(COLORREF) {}
    void SetShadowImage(const wchar_t*) {}
    void SetShadowShow(int) {}
    void DisableShadow() {}
    void SetAirBladderMsg(const wchar_t*) {}
    void ShowAirBladder(int) {}
    void ShowCaret(int) {}
    void SetCaretPos(CPoint) {}
    void CreateCaret(MControl*, CRect) {}
    void DrawCaret(HDC&, CRect) {}
    MControl* GetCurrentCaretObject() const { return nullptr; }
    void InitDragDrop() {}
    HBITMAP GetDropBitmap() const { return nullptr; }
    HBITMAP GenerateBitmap(MControl*) const { return nullptr; }

    // Private fonts and image cache.
    void AddGDITempFont(unsigned resourceId);
    Gdiplus::FontFamily* AddTempFont(const std::wstring& faceName, const std::wstring& path);
    Gdiplus::FontFamily* AddTempFont(const std::wstring& faceName, unsigned resourceId);
    Gdiplus::FontFamily* FindTempFont(const std::wstring& faceName);
    void ClearTempFont();
    ImgResInfo* AddImgResInfo(const wchar_t* fileName, int frames);
    ImgResInfo* AddImgResInfo(UINT id, const std::wstring& type, int frames, int programFlag);
    void ClearImgResInfo();

private:
    bool HasWindow() const;
    // Takes `image` as the background; 1 when it has pixels to draw.
    int KeepBackground(Gdiplus::Image* image);
    void Apply(const MessagePanel::Step& step);
    void PaintBackground(Gdiplus::Graphics& graphics, int width, int height);
    void DrawControls(HDC& dc, CRect clip);
    void ClearList(ControlList& list, std::recursive_mutex& lock);
    // Unregisters `control` and the controls inside it from the multimedia ticks.
    void DropTimedControls(MControl* control);

    // First in, last out: GDI+ outlives every GDI+ object below, whatever order the
    // program shuts its own start-up down in.
    GdiplusHold gdiplus_;
    MWindow* dialog_ = nullptr;
    int attached_ = 0;
    bool detached_ = false;
    bool dropTarget_ = false;
    HWND window_ = nullptr;
    UniqueWindowDC windowDC_;
    DWORD fillColor_ = 0xC8C8C8;
    DWORD borderColor_ = 0x646464;
    CRect captionRect_;
    SIZE maxSize_{0, 0};
    SIZE minSize_{0, 0};
    int layered_ = 0;
    std::unique_ptr<Gdiplus::Image> background_;
    SIZE backgroundSize_{0, 0};
    MessagePanel panel_;
    std::wstring messageFont_ = L"Arial";
    int drawInfo_ = 0;
    int windowDrag_ = 1;
    UINT verticalScrollId_ = 0;
    UINT horizontalScrollId_ = 0;
    DWORD defaultEnabledColor_ = 0x808080;
    MControl* hover_ = nullptr;
    MControl* focus_ = nullptr;
    int tooltipControlId_ = 0;
    enumBackMode backMode_ = BackModeStretch;
    int backFrame_ = 4;
    FontStore fonts_;
    ImageCache images_;
    // Critical sections in spirit: re-entered by the thread holding them. The area
    // lock is taken before the control lock when both are needed.
    std::recursive_mutex areaLock_;
    std::recursive_mutex controlLock_;
    ControlList areas_;
    ControlList controls_;
    // Read by ticks on the timer thread.
    std::atomic<unsigned> mtimerId_{0};
    // Taken alone: a tick holds it while the controls it runs take the area and
    // control locks to report their updates.
    std::mutex mtimerLock_;
    std::vector<MControl*> mtimerControls_;
};

}  // namespace Orvik
