#pragma once

#include <windows.h>

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "controls/control_surface_win.h"
#include "core/mobject.h"
#include "core/orvik_api.h"
#include "core/rect.h"

namespace Orvik {

class PaintManager;

// Base of every control: a rectangle of a dialog that draws itself into the
// dialog's off-screen image, keeps that rendering in a surface of its own until it
// is told to redraw, takes the mouse and keys routed to it, and reports events and
// redraw requests to its owner. Owns its area children (drawn beneath it, no
// input) and its normal children (drawn above it, taking input).
class ORVIK_API MControl : public MObject {
public:
    using ControlList = std::vector<std::unique_ptr<MControl>>;

    MControl(MObject* owner, unsigned id, CRect rect, int visible, int enabled, int response);
    ~MControl() override;
    MControl(const MControl&) = delete;
    MControl& operator=(const MControl&) = delete;

    const wchar_t* GetClassNameW() const override;

    virtual void InitControl(PaintManager* manager);
    virtual int OnScroll(int delta, unsigned flags, CPoint point);
    // 1 for a visible control and a point inside (right and bottom edges excluded).
    virtual int PtInRect(CPoint point);
    // Draws into `dc`; `clip` is the rectangle being painted.
    virtual void DrawControl(HDC& dc, CRect clip) = 0;
    virtual int DrawSubControls(HDC& dc, CRect clip);
    virtual int IsDraw(CPoint point);
    // Marks the kept rendering current (1) or stale (0), here and in the normal
    // children that overlap this control. `color` is handed on unused.
    virtual void SetUpdate(int current, DWORD color);
    virtual int SetControlFocus(int focus);
    virtual void InitUI(CRect rect);
    virtual int OnMousePointChange(CPoint& point);
    virtual int OnCheckMouseResponse(unsigned flags, CPoint point);
    virtual LRESULT OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam);
    virtual long OnMessage(unsigned id, unsigned event, unsigned wParam, long lParam);
    virtual void SetControlRect(CRect rect);
    virtual void SetControlVisible(int visible);
    virtual void SetControlWndVisible(int visible);
    virtual void SetControlEnabled(int enabled);
    virtual int OnControlTimer();
    virtual HBITMAP GetControlDropBitmap();
    virtual int OnControlMouseMove(unsigned flags, CPoint point);
    virtual int OnControlSetCursor(unsigned flags, CPoint point);
    virtual int OnControlLButtonDown(unsigned flags, CPoint point);
    virtual int OnControlLButtonUp(unsigned flags, CPoint point);
    virtual int OnControlLButtonDblClk(unsigned flags, CPoint point);
    virtual int OnControlScroll(int delta, unsigned flags, CPoint point);
    virtual int OnControlRButtonDown(unsigned flags, CPoint point);
    virtual int OnControlRButtonUp(unsigned flags, CPoint point);
    virtual int OnControlRButtonDblClk(unsigned flags, CPoint point);
    // 1 when `key` and `code` are the control's accelerator.
    virtual int OnControlKeyDown(unsigned key, unsigned repeat, unsigned code);
    virtual void OnPositionChange();
    // Invalidates the control's own rectangle (the whole window when layered);
    // `rect` is not consulted.
    virtual void InvalidateRect(const RECT* rect, int erase);

    // Geometry and state. "Reports" means the owner's OnControlUpdate.
    void SetRect(CRect rect);
    void SetRect(int x, int y, int width, int height);
    CRect GetRect() const { return rect_; }
    void SetVisible(int visible);
    void SetVisible(int visible, int notify);
    int IsVisible() const { return visible_; }
    int IsParentVisible();
    void SetEnabled(int enabled);
    int IsEnabled() const { return enabled_; }
    void UpdateControl(int redraw, int force);
    void UpdateControl(CRect rect, int force, int redraw);
    void UpdateAControl(int keep, int force);

    void SetManager(PaintManager* manager);
    PaintManager* GetManager() const { return manager_; }
    void SetParent(MObject* owner);
    MObject* GetParantObject() const { return owner_; }
    unsigned GetControlID() const { return id_; }
    // The owner's OnBaseMessage with this control's id.
    long SendMessageW(unsigned event, unsigned wParam, long lParam);
    HBITMAP GetDropBitmap();
    int OnFocus(int focus);
    int IsFocusControl() const;
    // Focus order belongs to container controls; the base has none.
    MControl* GetFocusControl(MControl* from);
    MControl* GetNextFocusableControl(MControl* from);
    MControl* GetPrevFocusableControl(MControl* from);
    // System cursors by name: arrow, wait, cross, sizewe, sizens, hand, help (exact
    // case). Other names leave the cursor as it is. Returns 0.
    long SetCursorEx(const wchar_t* name);
    HCURSOR GetCursor() const { return cursor_; }
    void SetTooltip(const wchar_t* text);
    const std::wstring& GetTooltip() const { return tooltip_; }
    // Kept for the interface: the tooltip id lives in the paint manager.
    void SetTooltipCtrlID(int id);
    int GetTooltipCtrlID() const;

    int IsDragDrop() const { return dragDrop_; }
    void SetDragDrop(int dragDrop) { dragDrop_ = dragDrop; }
    int GetRresponse() const { return response_; }
    void SetRresponse(int response) { response_ = response; }
    int IsTabStop() const { return tabStop_; }
    void SetTabStop(int tabStop) { tabStop_ = tabStop; }
    int GetDblClk() const { return dblClk_; }
    int IsKeyDown() const { return keyDown_; }
    int IsFocused() const { return focused_; }
    int GetUpdate() const { return rendered_; }
    int IsRunTimer() const { return runTimer_; }
    void SetRunTimer(int run) { runTimer_ = run; }
    int UseImageECM() const { return imageEcm_; }

    // Children.
    MControl* GetControl(unsigned id);
    ControlList* GetControls() { return &children_; }
    int RemoveControl(MControl* child);
    void RemoveAllControl();
    // True when `control` is a child of this control at any depth.
    bool Contains(const MControl* control);

    // Painting.
    void Draw(HDC& dc, CRect clip);
    // Marks the rendering current and fits the memory surface to the size asked for.
    void UpdateMemDC(HDC& dc, int width, int height);
    void UpdateAnimateDC(HDC& dc, int width, int height);

    // Input routing; 1 when handled.
    int OnMouseMove(unsigned flags, CPoint point);
    int OnLButtonDown(unsigned flags, CPoint point);
    int OnLButtonUp(unsigned flags, CPoint point);
    int OnLButtonDblClk(unsigned flags, CPoint point);
    int OnRButtonDown(unsigned flags, CPoint point);
    int OnRButtonUp(unsigned flags, CPoint point);
    int OnRButtonDblClk(unsigned flags, CPoint point);
    int OnKeyDown(unsigned key, unsigned repeat, unsigned code);
    int OnKeyUp(unsigned key, unsigned repeat, unsigned code);
    int OnTimer();
    // Has the paint manager's multimedia timer tick this control (on the timer
    // thread), if there is a manager.
    void AddMTimer();

protected:
    // Container controls file their children here; the control owns them.
    void AddControl(std::unique_ptr<MControl> child);
    void AddAreaControl(std::unique_ptr<MControl> child);
    void SetDblClk(int dblClk) { dblClk_ = dblClk; }
    void SetFocused(int focused) { focused_ = focused; }
    void SetAccelerator(unsigned key, unsigned code) {
        acceleratorKey_ = key;
        acceleratorCode_ = code;
    }
    // The kept rendering and the one of animated controls.
    HDC MemoryDC() const { return surface_.DC(); }
    HDC AnimationDC() const { return animation_.DC(); }
    int IsAnimating() const { return animating_; }

private:
    // Reports `rect` to the owner with the redraw flag.
    void Report(CRect rect, int redraw);
    // The point children get: the unadjusted one for children 1 and 2.
    static CPoint PointFor(const MControl& child, CPoint original, CPoint adjusted);
    // The last normal child under `point` that is visible, enabled and responsive
    // becomes the hot child; without one the hot child stays as it was.
    void PickHotChild(CPoint original, CPoint adjusted);
    // Focus moves to this control, as a click gives it.
    void TakeFocus();
    // Lets go of a child that is about to be deleted.
    void Forget(MControl* child);
    // Shared shape of the button-up and double-click routings.
    using Hook = int (MControl::*)(unsigned, CPoint);
    using Route = int (MControl::*)(unsigned, CPoint);
    int RoutePress(unsigned flags, CPoint point, Route childRoute, Hook hook);
    int RouteRelease(unsigned flags, CPoint point, Route childRoute, Hook hook);
    int RouteDoubleClick(unsigned flags, CPoint point, Route childRoute, Route childPress, Hook hook, Hook press);

    MObject* owner_;
    PaintManager* manager_ = nullptr;
    unsigned id_;
    CRect rect_;
    int visible_;
    int enabled_;
    int dragDrop_ = 0;
    int response_;
    int tabStop_ = 0;
    int dblClk_ = 0;
    int pressedInside_ = 0;
    int keyDown_ = 0;
    int focused_ = 0;
    unsigned acceleratorKey_ = 0;
    unsigned acceleratorCode_ = 0;
    int rendered_ = 0;
    int animating_ = 0;
    int runTimer_ = 0;
    int imageEcm_ = 0;  // read through UseImageECM; no control here sets it
    ControlList areaChildren_;
    ControlList children_;
    // Critical sections in spirit: re-entered by the thread holding them.
    std::recursive_mutex areaLock_;
    std::recursive_mutex childLock_;
    MControl* hot_ = nullptr;
    ControlSurface surface_;
    ControlSurface animation_;
    std::wstring tooltip_;
    HCURSOR cursor_ = nullptr;  // shared system cursor: not destroyed
};

}  // namespace Orvik
