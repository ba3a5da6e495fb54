#include "controls/mcontrol.h"

#include <algorithm>
#include <iterator>

#include "core/paint_manager.h"
#include "core/rect_win.h"

namespace Orvik {

namespace {

bool Inside(const CRect& rect, CPoint point) {
    return point.x >= rect.left && point.x < rect.right && point.y >= rect.top && point.y < rect.bottom;
}

struct NamedCursor {
    const wchar_t* name;
    const wchar_t* cursor;
};

const NamedCursor kCursors[] = {
    {L"arrow", IDC_ARROW},   {L"wait", IDC_WAIT},     {L"cross", IDC_CROSS}, {L"sizewe", IDC_SIZEWE},
    {L"sizens", IDC_SIZENS}, {L"hand", IDC_HAND},     {L"help", IDC_HELP},
};

}  // namespace

MControl::MControl(MObject* owner, unsigned id, CRect rect, int visible, int enabled, int response)
    : owner_(owner), id_(id), rect_(rect), visible_(visible), enabled_(enabled), response_(response) {}

MControl::~MControl() { RemoveAllControl(); }

const wchar_t* MControl::GetClassNameW() const { return L"MControl"; }

void MControl::InitControl(PaintManager*) {}

int MControl::PtInRect(CPoint point) { return visible_ && Inside(rect_, point) ? 1 : 0; }

int MControl::DrawSubControls(HDC& dc, CRect clip) {
    const std::lock_guard hold(childLock_);
    for (const auto& child : children_) {
        if (child->visible_) {
            child->Draw(dc, clip);
        }
    }
    return 1;
}

int MControl::IsDraw(CPoint) { return 0; }

void MControl::SetUpdate(int current, DWORD color) {
    rendered_ = current;
    for (const auto& child : children_) {
        if (Intersects(child->rect_, rect_)) {
            child->SetUpdate(current, color);
        }
    }
}

int MControl::SetControlFocus(int focus) {
    if (focus == 0) {
        const std::lock_guard hold(childLock_);
        for (const auto& child : children_) {
            child->SetControlFocus(0);
        }
    }
    return 0;
}

void MControl::InitUI(CRect) {}
int MControl::OnMousePointChange(CPoint&) { return 0; }
int MControl::OnCheckMouseResponse(unsigned, CPoint) { return 1; }
LRESULT MControl::OnWindowMessage(UINT, WPARAM, LPARAM) { return 0; }
long MControl::OnMessage(unsigned, unsigned, unsigned, long) { return 0; }
void MControl::SetControlRect(CRect rect) { rect_ = rect; }
void MControl::SetControlVisible(int visible) { visible_ = visible; }
void MControl::SetControlWndVisible(int) {}
void MControl::SetControlEnabled(int enabled) { enabled_ = enabled; }
int MControl::OnControlTimer() { return 0; }
HBITMAP MControl::GetControlDropBitmap() { return nullptr; }
int MControl::OnControlMouseMove(unsigned, CPoint) { return 0; }

int MControl::OnControlSetCursor(unsigned, CPoint point) {
    if (cursor_ == nullptr || !Inside(rect_, point)) {
        return 0;
    }
    ::SetCursor(cursor_);
    return 1;
}

int MControl::OnControlLButtonDown(unsigned, CPoint) { return 0; }
int MControl::OnControlLButtonUp(unsigned, CPoint) { return 0; }
int MControl::OnControlLButtonDblClk(unsigned, CPoint) { return 0; }
int MControl::OnControlScroll(int, unsigned, CPoint) { return 0; }
int MControl::OnControlRButtonDown(unsigned, CPoint) { return 0; }
int MControl::OnControlRButtonUp(unsigned, CPoint) { return 0; }
int MControl::OnControlRButtonDblClk(unsigned, CPoint) { return 0; }

int MControl::OnControlKeyDown(unsigned key, unsigned, unsigned code) {
    return acceleratorKey_ != 0 && acceleratorKey_ == key && acceleratorCode_ == code ? 1 : 0;
}

void MControl::OnPositionChange() {}

void MControl::InvalidateRect(const RECT*, int erase) {
    if (manager_ == nullptr || !::IsWindow(manager_->GetPaintWnd())) {
        return;
    }
    if (manager_->IsLayered()) {
        ::InvalidateRect(manager_->GetPaintWnd(), nullptr, TRUE);
    } else {
        const RECT own = ToRECT(rect_);
        ::InvalidateRect(manager_->GetPaintWnd(), &own, erase);
    }
}

void MControl::Report(CRect rect, int redraw) {
    if (owner_ != nullptr) {
        owner_->OnControlUpdate(rect, redraw, this);
    }
}

void MControl::SetRect(CRect rect) {
    const CRect both = UnionOf(rect_, rect);
    SetControlRect(rect);
    if (visible_) {
        Report(both, 1);
    }
}

void MControl::SetRect(int x, int y, int width, int height) { SetRect(CRect{x, y, x + width, y + height}); }

void MControl::SetVisible(int visible) { SetVisible(visible, 1); }

void MControl::SetVisible(int visible, int notify) {
    if (visible == visible_) {
        return;
    }
    SetControlVisible(visible);
    if (notify) {
        Report(rect_, 1);
    }
}

int MControl::IsParentVisible() {
    if (owner_ == nullptr) {
        return 0;
    }
    if (owner_->IsClass(L"MDialog")) {
        return 1;
    }
    // An owner that is no control stands where a dialog would.
    auto* parent = dynamic_cast<MControl*>(owner_);
    return parent == nullptr ? 1 : parent->visible_ & parent->IsParentVisible();
}

void MControl::SetEnabled(int enabled) {
    if (enabled == enabled_) {
        return;
    }
    SetControlEnabled(enabled);
    if (visible_) {
        Report(rect_, 1);
    }
}

void MControl::UpdateControl(int redraw, int force) {
    if (visible_ || force) {
        Report(rect_, redraw);
    }
}

void MControl::UpdateControl(CRect rect, int force, int redraw) {
    if (visible_ || force) {
        Report(rect, redraw);
    }
}

void MControl::UpdateAControl(int keep, int force) {
    if (visible_ || force) {
        animating_ = !keep;
        Report(rect_, 0);
    }
}

void MControl::SetManager(PaintManager* manager) {
    manager_ = manager;
    InitControl(manager);
}

void MControl::SetParent(MObject* owner) { owner_ = owner; }

long MControl::SendMessageW(unsigned event, unsigned wParam, long lParam) {
    return owner_ != nullptr ? owner_->OnBaseMessage(id_, event, wParam, lParam) : 0;
}

HBITMAP MControl::GetDropBitmap() { return GetControlDropBitmap(); }
int MControl::OnFocus(int focus) { return SetControlFocus(focus); }
int MControl::IsFocusControl() const { return manager_ != nullptr && manager_->GetFocusControl() == this ? 1 : 0; }

MControl* MControl::GetFocusControl(MControl*) { return nullptr; }
MControl* MControl::GetNextFocusableControl(MControl*) { return nullptr; }
MControl* MControl::GetPrevFocusableControl(MControl*) { return nullptr; }

long MControl::SetCursorEx(const wchar_t* name) {
    if (name == nullptr) {
        return 0;
    }
    for (const NamedCursor& entry : kCursors) {
        if (std::wstring_view(name) == entry.name) {
            cursor_ = ::LoadCursorW(nullptr, entry.cursor);
            break;
        }
    }
    return 0;
}

void MControl::SetTooltip(const wchar_t* text) { tooltip_ = text != nullptr ? text : L""; }
void MControl::SetTooltipCtrlID(int) {}
int MControl::GetTooltipCtrlID() const { return 0; }

MControl* MControl::GetControl(unsigned id) {
    for (ControlList* list : {&children_, &areaChildren_}) {
        for (const auto& child : *list) {
            if (child->id_ == id) {
                return child.get();
            }
            if (MControl* found = child->GetControl(id)) {
                return found;
            }
        }
    }
    return nullptr;
}

bool MControl::Contains(const MControl* control) {
    for (ControlList* list : {&children_, &areaChildren_}) {
        for (const auto& child : *list) {
            if (child.get() == control || child->Contains(control)) {
                return true;
            }
        }
    }
    return false;
}

void MControl::Forget(MControl* child) {
    if (manager_ != nullptr) {
        manager_->ForgetControl(child);
    }
    if (hot_ == child) {
        hot_ = nullptr;
    }
}

// Children leave their list under its lock and are forgotten and deleted outside
// it: the manager's forgetting waits for a multimedia tick, which may be running
// this control's OnTimer and so waiting for the child lock.
int MControl::RemoveControl(MControl* child) {
    std::unique_ptr<MControl> removed;
    {
        const std::lock_guard hold(childLock_);
        const auto found = std::find_if(children_.begin(), children_.end(),
                                        [child](const auto& entry) { return entry.get() == child; });
        if (found == children_.end()) {
            return 0;
        }
        removed = std::move(*found);
        children_.erase(found);
    }
    Forget(removed.get());
    return 0;
}

void MControl::RemoveAllControl() {
    for (auto [list, lock] : {std::pair{&areaChildren_, &areaLock_}, std::pair{&children_, &childLock_}}) {
        ControlList removed;
        {
            const std::lock_guard hold(*lock);
            removed.swap(*list);
        }
        for (const auto& child : removed) {
            Forget(child.get());
        }
    }
}

void MControl::AddControl(std::unique_ptr<MControl> child) {
    const std::lock_guard hold(childLock_);
    children_.push_back(std::move(child));
}

void MControl::AddAreaControl(std::unique_ptr<MControl> child) {
    const std::lock_guard hold(areaLock_);
    areaChildren_.push_back(std::move(child));
}

void MControl::Draw(HDC& dc, CRect clip) {
    if (!visible_ || !Intersects(rect_, clip)) {
        return;
    }
    {
        const std::lock_guard hold(areaLock_);
        for (const auto& child : areaChildren_) {
            if (Intersects(child->rect_, rect_)) {
                child->Draw(dc, clip);
            }
        }
    }
    DrawControl(dc, clip);
    DrawSubControls(dc, clip);
}

void MControl::UpdateMemDC(HDC& dc, int width, int height) {
    rendered_ = 1;
    surface_.Fit(dc, width, height);
}

void MControl::UpdateAnimateDC(HDC& dc, int width, int height) {
    animating_ = 1;
    animation_.Remake(dc, width, height);
}

CPoint MControl::PointFor(const MControl& child, CPoint original, CPoint adjusted) {
    return child.id_ == 1 || child.id_ == 2 ? original : adjusted;
}

void MControl::PickHotChild(CPoint original, CPoint adjusted) {
    const std::lock_guard hold(childLock_);
    for (const auto& child : children_) {
        const CPoint p = PointFor(*child, original, adjusted);
        if (child->PtInRect(p) && child->visible_ && child->enabled_ && child->response_) {
            hot_ = child.get();
        }
    }
}

void MControl::TakeFocus() {
    if (manager_ != nullptr && manager_->GetFocusControl() != this) {
        manager_->SetFocusControl(this);
    }
}

int MControl::OnMouseMove(unsigned flags, CPoint point) {
    if (!visible_ || !response_) {
        return 0;
    }
    CPoint adjusted = point;
    OnMousePointChange(adjusted);
    if (hot_ != nullptr) {
        const CPoint p = PointFor(*hot_, point, adjusted);
        if ((hot_->PtInRect(p) && hot_->OnCheckMouseResponse(flags, p)) || pressedInside_) {
            // A press that started inside keeps the moves with the pressed child.
            return hot_->OnMouseMove(flags, p) ? 1 : 0;
        }
    }
    MControl* const previous = hot_;
    hot_ = nullptr;
    OnControlSetCursor(flags, point);
    int result = OnControlMouseMove(flags, point);
    if (pressedInside_) {
        return result;
    }
    {
        const std::lock_guard hold(childLock_);
        for (const auto& child : children_) {
            const CPoint p = PointFor(*child, point, adjusted);
            if (child->OnMouseMove(flags, p)) {
                result = 1;
                if (child->PtInRect(p)) {
                    hot_ = child.get();
                }
            }
        }
    }
    return hot_ != nullptr || previous != nullptr ? 1 : result;
}

int MControl::RoutePress(unsigned flags, CPoint point, Route childRoute, Hook hook) {
    if (!visible_ || !response_) {
        return 0;
    }
    CPoint adjusted = point;
    OnMousePointChange(adjusted);
    pressedInside_ = Inside(rect_, adjusted) ? 1 : 0;
    PickHotChild(point, adjusted);
    if (hot_ != nullptr) {
        return (hot_->*childRoute)(flags, PointFor(*hot_, point, adjusted)) ? 1 : 0;
    }
    TakeFocus();
    return (this->*hook)(flags, point);
}

int MControl::RouteRelease(unsigned flags, CPoint point, Route childRoute, Hook hook) {
    if (!visible_ || !response_) {
        return 0;
    }
    CPoint adjusted = point;
    OnMousePointChange(adjusted);
    pressedInside_ = 0;
    if (hot_ != nullptr) {
        return (hot_->*childRoute)(flags, PointFor(*hot_, point, adjusted)) ? 1 : 0;
    }
    return (this->*hook)(flags, point);
}

int MControl::RouteDoubleClick(unsigned flags, CPoint point, Route childRoute, Route childPress, Hook hook,
                               Hook press) {
    if (!visible_ || !response_) {
        return 0;
    }
    CPoint adjusted = point;
    OnMousePointChange(adjusted);
    pressedInside_ = 0;
    if (hot_ == nullptr) {
        // Without the double-click flag the second click of a double click is a press.
        return dblClk_ ? (this->*hook)(flags, point) : (this->*press)(flags, point);
    }
    const CPoint p = PointFor(*hot_, point, adjusted);
    if ((hot_->*childRoute)(flags, p)) {
        return 1;
    }
    return hot_->dblClk_ == 0 ? (hot_->*childPress)(flags, p) : 0;
}

int MControl::OnLButtonDown(unsigned flags, CPoint point) {
    return RoutePress(flags, point, &MControl::OnLButtonDown, &MControl::OnControlLButtonDown);
}

int MControl::OnLButtonUp(unsigned flags, CPoint point) {
    return RouteRelease(flags, point, &MControl::OnLButtonUp, &MControl::OnControlLButtonUp);
}

int MControl::OnLButtonDblClk(unsigned flags, CPoint point) {
    return RouteDoubleClick(flags, point, &MControl::OnLButtonDblClk, &MControl::OnLButtonDown,
                            &MControl::OnControlLButtonDblClk, &MControl::OnControlLButtonDown);
}

int MControl::OnRButtonDown(unsigned flags, CPoint point) {
    return RoutePress(flags, point, &MControl::OnRButtonDown, &MControl::OnControlRButtonDown);
}

int MControl::OnRButtonUp(unsigned flags, CPoint point) {
    return RouteRelease(flags, point, &MControl::OnRButtonUp, &MControl::OnControlRButtonUp);
}

int MControl::OnRButtonDblClk(unsigned flags, CPoint point) {
    return RouteDoubleClick(flags, point, &MControl::OnRButtonDblClk, &MControl::OnRButtonDown,
                            &MControl::OnControlRButtonDblClk, &MControl::OnControlRButtonDown);
}

int MControl::OnScroll(int delta, unsigned flags, CPoint point) {
    if (!visible_ || !response_ || !enabled_) {
        return 0;
    }
    if (hot_ != nullptr && hot_->PtInRect(point) && hot_->OnCheckMouseResponse(flags, point)) {
        return hot_->OnScroll(delta, flags, point) ? 1 : 0;
    }
    if (!Inside(rect_, point)) {
        return 0;
    }
    if (OnControlScroll(delta, flags, point)) {
        return 1;
    }
    const std::lock_guard hold(childLock_);
    for (const auto& child : children_) {
        if (child->PtInRect(point) && child->OnScroll(delta, flags, point)) {
            return 1;
        }
    }
    return 0;
}

int MControl::OnKeyDown(unsigned key, unsigned repeat, unsigned code) {
    // Keys go down to the focused child, level by level.
    MControl* at = this;
    for (;;) {
        if (!at->visible_ || !at->response_) {
            break;
        }
        MControl* focusedChild = nullptr;
        {
            const std::lock_guard hold(at->childLock_);
            for (const auto& child : at->children_) {
                if (child->focused_) {
                    focusedChild = child.get();
                    break;
                }
            }
        }
        if (focusedChild == nullptr) {
            break;
        }
        at = focusedChild;
    }
    if (at->hot_ != nullptr && at->hot_->OnKeyDown(key, repeat, code)) {
        return 1;
    }
    if (at->OnControlKeyDown(key, repeat, code)) {
        return 1;
    }
    const std::lock_guard hold(at->childLock_);
    for (const auto& child : at->children_) {
        if (child->OnKeyDown(key, repeat, code)) {
            return 1;
        }
    }
    return 0;
}

int MControl::OnKeyUp(unsigned, unsigned, unsigned) { return 0; }

void MControl::AddMTimer() {
    if (manager_ != nullptr) {
        manager_->AddMTimer(this);
    }
}

int MControl::OnTimer() {
    int result = OnControlTimer();
    const std::lock_guard hold(childLock_);
    for (const auto& child : children_) {
        if (child->runTimer_ && child->visible_ && child->OnTimer()) {
            result = 1;
        }
    }
    return result;
}

}  // namespace Orvik
