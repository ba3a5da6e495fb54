#include "core/paint_manager.h"

#include <ole2.h>

#include <algorithm>
#include <optional>

#include "controls/mcontrol.h"
#include "core/manager.h"
#include "core/offscreen_image_win.h"
#include "core/paint_layers_win.h"
#include "core/rect_win.h"
#include "core/update_spread.h"
#include "render/mrender.h"

namespace Orvik {

namespace {

constexpr unsigned kLibraryFontId = 106;
constexpr UINT kVerticalScrollImage = 102;
constexpr UINT kHorizontalScrollImage = 101;
// Bounds the paint rate of a window to below about 66 paints a second.
constexpr DWORD kPauseAfterPaint = 15;

// BeginPaint until EndPaint, on every way out.
class PaintScope {
public:
    explicit PaintScope(HWND window) : window_(window) { ::BeginPaint(window_, &paint_); }
    ~PaintScope() { ::EndPaint(window_, &paint_); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    HDC DC() const { return paint_.hdc; }

private:
    HWND window_;
    PAINTSTRUCT paint_ = {};
};

// SaveDC until RestoreDC.
class SavedDCState {
public:
    explicit SavedDCState(HDC dc) : dc_(dc), state_(::SaveDC(dc)) {}
    ~SavedDCState() {
        if (state_ != 0) {
            ::RestoreDC(dc_, state_);
        }
    }
    SavedDCState(const SavedDCState&) = delete;
    SavedDCState& operator=(const SavedDCState&) = delete;

private:
    HDC dc_;
    int state_;
};

}  // namespace

PaintManager::PaintManager() = default;

PaintManager::~PaintManager() {
    // A tick must not reach a manager that is going, attached or not.
    KillMTimer();
    DestroyData();
    // Never attached: the controls and caches still go before GDI+ is let go.
    ClearAllControls();
}

void PaintManager::Init(HWND window, MWindow* dialog) {
    if (!::IsWindow(window) || detached_) {
        return;
    }
    if (window != window_) {
        window_ = window;
        windowDC_ = BorrowDC(window);
    }
    dialog_ = dialog;
    // Without OLE on this thread there is no drop target; nothing else depends on it.
    dropTarget_ = SUCCEEDED(::RegisterDragDrop(window, this));
    attached_ = 1;
    verticalScrollId_ = kVerticalScrollImage;
    horizontalScrollId_ = kHorizontalScrollImage;
    AddGDITempFont(kLibraryFontId);
}

void PaintManager::DestroyData() {
    if (!attached_) {
        return;
    }
    background_.reset();
    backgroundSize_ = {0, 0};
    // OLE would otherwise keep calling into a manager that is gone.
    if (dropTarget_) {
        ::RevokeDragDrop(window_);
        dropTarget_ = false;
    }
    windowDC_.Reset();
    KillMTimer();
    if (HasWindow()) {
        for (const UINT timer : {MessagePanel::kHoldTimer, MessagePanel::kFadeTimer, MessagePanel::kProgressTimer}) {
            ::KillTimer(window_, timer);
        }
    }
    ClearAllControls();
    ClearImgResInfo();
    ClearTempFont();
    attached_ = 0;
    detached_ = true;
}

void PaintManager::OnDestroyMessage(HWND window) {
    if (window == window_) {
        DestroyData();
    }
}

int PaintManager::PostNcDestroy() {
    DestroyData();
    return 1;
}

MControl* PaintManager::AddAreaControl(std::unique_ptr<MControl> control) {
    const std::lock_guard hold(areaLock_);
    areas_.push_back(std::move(control));
    return areas_.back().get();
}

MControl* PaintManager::AddControl(std::unique_ptr<MControl> control) {
    const std::lock_guard hold(controlLock_);
    controls_.push_back(std::move(control));
    return controls_.back().get();
}

MControl* PaintManager::GetControl(unsigned id) {
    for (ControlList* list : {&controls_, &areas_}) {
        for (const auto& control : *list) {
            if (control->GetControlID() == id) {
                return control.get();
            }
            if (MControl* found = control->GetControl(id)) {
                return found;
            }
        }
    }
    return nullptr;
}

// Controls leave their list under its lock and are forgotten and deleted outside
// it: forgetting waits for a multimedia tick, which may be waiting for that lock.
void PaintManager::RemoveControl(MControl* control) {
    std::unique_ptr<MControl> removed;
    {
        const std::lock_guard hold(controlLock_);
        const auto found = std::find_if(controls_.begin(), controls_.end(),
                                        [control](const auto& entry) { return entry.get() == control; });
        if (found == controls_.end()) {
            return;
        }
        removed = std::move(*found);
        controls_.erase(found);
    }
    ForgetControl(removed.get());
}

void PaintManager::ClearList(ControlList& list, std::recursive_mutex& lock) {
    ControlList removed;
    {
        const std::lock_guard hold(lock);
        removed.swap(list);
    }
    for (const auto& control : removed) {
        ForgetControl(control.get());
    }
}

void PaintManager::ClearAreaControls() { ClearList(areas_, areaLock_); }
void PaintManager::ClearControls() { ClearList(controls_, controlLock_); }

void PaintManager::ClearAllControls() {
    ClearAreaControls();
    ClearControls();
}

void PaintManager::ForgetControl(MControl* control) {
    if (control == nullptr) {
        return;
    }
    if (focus_ != nullptr && (focus_ == control || control->Contains(focus_))) {
        focus_->SetControlFocus(0);
        focus_ = nullptr;
    }
    if (hover_ != nullptr && (hover_ == control || control->Contains(hover_))) {
        hover_ = nullptr;
    }
    DropTimedControls(control);
}

void PaintManager::DropTimedControls(MControl* control) {
    const std::lock_guard hold(mtimerLock_);
    std::erase_if(mtimerControls_,
                  [control](MControl* timed) { return timed == control || control->Contains(timed); });
}

void PaintManager::SetMTimer(unsigned elapse) { mtimerId_ = SetTimer(elapse, L"", 0); }

void PaintManager::KillMTimer(unsigned id) {
    KillTimer(id);
    if (id == mtimerId_) {
        mtimerId_ = 0;
    }
}

void PaintManager::KillMTimer() {
    KillTimer();
    mtimerId_ = 0;
}

int PaintManager::AddMTimer(MControl* control) {
    const std::lock_guard hold(mtimerLock_);
    mtimerControls_.push_back(control);
    return 1;
}

int PaintManager::DeleteFSTimer(MControl* control) {
    const std::lock_guard hold(mtimerLock_);
    const auto found = std::find(mtimerControls_.begin(), mtimerControls_.end(), control);
    if (found == mtimerControls_.end()) {
        return 0;
    }
    mtimerControls_.erase(found);
    return 1;
}

void PaintManager::OnMTimer(unsigned id) {
    if (id == 0 || id != mtimerId_) {
        return;
    }
    const std::lock_guard hold(mtimerLock_);
    for (MControl* control : mtimerControls_) {
        control->OnTimer();
    }
}

void PaintManager::SetFocusControl(MControl* control) {
    if (control == focus_) {
        return;
    }
    if (focus_ != nullptr) {
        focus_->SetControlFocus(0);
    }
    if (control != nullptr) {
        control->SetControlFocus(1);
    }
    focus_ = control;
}

void PaintManager::SetBackColor(DWORD fill, DWORD border) {
    fillColor_ = fill;
    borderColor_ = border;
}

int PaintManager::LoadBKImage(const std::wstring& file) {
    return KeepBackground(MRender::LoadImageFromFile(Manager::GetSkinPath() + file));
}

int PaintManager::LoadBKImage(UINT id, const std::wstring& type) {
    return KeepBackground(MRender::LoadImageFromIDResource(id, type, Manager::m_hInstance));
}

int PaintManager::KeepBackground(Gdiplus::Image* image) {
    background_.reset(image);
    backgroundSize_ = {0, 0};
    // A resource that does not decode loads as an image of no size: nothing to draw.
    if (background_ == nullptr || background_->GetWidth() == 0 || background_->GetHeight() == 0) {
        background_.reset();
        return 0;
    }
    backgroundSize_ = {static_cast<LONG>(background_->GetWidth()), static_cast<LONG>(background_->GetHeight())};
    return 1;
}

void PaintManager::SetBackMode(enumBackMode mode, int frame) {
    backMode_ = mode;
    backFrame_ = frame;
}

void PaintManager::SetScrollResID(UINT vertical, UINT horizontal) {
    verticalScrollId_ = vertical;
    horizontalScrollId_ = horizontal;
}

void PaintManager::GetScrollResID(UINT& vertical, UINT& horizontal) const {
    vertical = verticalScrollId_;
    horizontal = horizontalScrollId_;
}

void PaintManager::SetWindowMaxSize(int width, int height) { maxSize_ = {width, height}; }

void PaintManager::GetWindowManSize(int& width, int& height) const {
    width = maxSize_.cx;
    height = maxSize_.cy;
}

void PaintManager::SetWindowMixSize(int width, int height) { minSize_ = {width, height}; }

void PaintManager::GetWindowMinSize(int& width, int& height) const {
    width = minSize_.cx;
    height = minSize_.cy;
}

bool PaintManager::HasWindow() const { return window_ != nullptr && ::IsWindow(window_); }

void PaintManager::Invalidate() {
    if (HasWindow()) {
        ::InvalidateRect(window_, nullptr, FALSE);
    }
}

void PaintManager::InvalidateRect(CRect rect, int erase) {
    if (!HasWindow()) {
        return;
    }
    // A layered window is always repainted whole.
    if (layered_) {
        ::InvalidateRect(window_, nullptr, TRUE);
        return;
    }
    const RECT area = ToRECT(rect);
    ::InvalidateRect(window_, &area, erase);
}

long PaintManager::OnControlUpdate(CRect rect, int redraw, MControl* control) {
    if (control == nullptr) {
        return 0;
    }
    if (redraw) {
        control->SetUpdate(0, fillColor_);
    }
    CRect area = rect;
    if (attached_) {
        const std::lock_guard holdAreas(areaLock_);
        const std::lock_guard holdControls(controlLock_);
        std::vector<MControl*> order;
        std::vector<StackedControl> stack;
        std::optional<size_t> changed;
        for (ControlList* list : {&areas_, &controls_}) {
            for (const auto& entry : *list) {
                if (entry.get() == control && !changed) {
                    changed = order.size();
                }
                order.push_back(entry.get());
                stack.push_back({entry->GetRect(), entry->IsVisible() != 0});
            }
        }
        const UpdateSpread spread = SpreadUpdate(stack, changed, rect);
        for (const size_t index : spread.redrawn) {
            order[index]->SetUpdate(0, fillColor_);
        }
        area = spread.area;
    }
    InvalidateRect(area, 0);
    return 0;
}

void PaintManager::PaintBackground(Gdiplus::Graphics& graphics, int width, int height) {
    if (background_ == nullptr) {
        PaintTwoColourFrame(graphics, width, height, fillColor_, borderColor_);
        return;
    }
    switch (backMode_) {
    case BackModeStretch:
        graphics.DrawImage(background_.get(), 0, 0, width, height);
        break;
    case BackModeFrame:
        MRender::DrawImageFrame(&graphics, background_.get(), CRect{0, 0, width, height}, 0, 0, backgroundSize_.cx,
                                backgroundSize_.cy, backFrame_);
        break;
    }
}

void PaintManager::DrawControls(HDC& dc, CRect clip) {
    {
        const std::lock_guard hold(areaLock_);
        for (const auto& control : areas_) {
            control->Draw(dc, clip);
        }
    }
    const std::lock_guard hold(controlLock_);
    for (const auto& control : controls_) {
        control->Draw(dc, clip);
    }
}

int PaintManager::OnPaint() {
    const int painted = PaintFrame();
    if (painted && HasWindow() && !::IsIconic(window_)) {
        ::Sleep(kPauseAfterPaint);
    }
    return painted;
}

int PaintManager::PaintFrame() {
    if (!HasWindow() || ::IsIconic(window_)) {
        return 1;
    }
    RECT updateRect;
    if (!::GetUpdateRect(window_, &updateRect, FALSE)) {
        return 0;
    }
    const CRect update = ToCRect(updateRect);
    RECT clientRect;
    ::GetClientRect(window_, &clientRect);
    const int width = clientRect.right - clientRect.left;
    const int height = clientRect.bottom - clientRect.top;
    {
        const PaintScope paint(window_);
        const UniqueWindowDC windowDC = BorrowDC(window_);
        OffscreenImage image(windowDC.Get().dc, width, height);
        if (image.IsValid()) {
            HDC dc = image.DC();
            {
                const SavedDCState saved(dc);
                if (layered_) {
                    image.Pixels().Clear(update);
                }
                Gdiplus::Graphics graphics(dc);
                PaintBackground(graphics, width, height);
                graphics.Flush(Gdiplus::FlushIntentionSync);
                const CRect client{0, 0, width, height};
                DrawControls(dc, layered_ ? client : update);
                if (layered_) {
                    image.Pixels().FixUpAlpha(update);
                }
                if (drawInfo_) {
                    POINT cursor{};
                    ::GetCursorPos(&cursor);
                    ::ScreenToClient(window_, &cursor);
                    DrawReadingsOverlay(graphics, FindTempFont(Manager::GetFontName()), width, cursor);
                }
                if (panel_.IsShown()) {
                    DrawMessagePanel(graphics, FindTempFont(messageFont_), panel_);
                }
                graphics.Flush(Gdiplus::FlushIntentionSync);
            }
            if (layered_) {
                ::SetWindowLongW(window_, GWL_EXSTYLE, ::GetWindowLongW(window_, GWL_EXSTYLE) | WS_EX_LAYERED);
                SIZE size{width, height};
                POINT origin{0, 0};
                BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
                ::UpdateLayeredWindow(window_, nullptr, nullptr, &size, dc, &origin, 0, &blend, ULW_ALPHA);
            } else {
                ::BitBlt(paint.DC(), update.left, update.top, update.Width(), update.Height(), dc, update.left,
                         update.top, SRCCOPY);
            }
        }
    }
    return 1;
}

void PaintManager::Apply(const MessagePanel::Step& step) {
    if (HasWindow()) {
        for (const unsigned timer : step.stop) {
            ::KillTimer(window_, timer);
        }
        for (const MessagePanel::TimerStart& timer : step.start) {
            ::SetTimer(window_, timer.id, timer.interval, nullptr);
        }
    }
    if (step.repaintAll) {
        Invalidate();
    }
    if (step.repaintPanel) {
        InvalidateRect(panel_.Rect(), 0);
    }
}

void PaintManager::OnTimer(UINT id) { Apply(panel_.OnTimer(id)); }

void PaintManager::SetMessage(const std::wstring& text, CRect rect, MsgLevel level) {
    Apply(panel_.SetMessage(text, rect, level));
}

void PaintManager::SetProgress(int progress, const std::wstring& text, CRect rect) {
    CRect client;
    GetClientRect(client);
    Apply(panel_.SetProgress(progress, text, rect, client));
}

void PaintManager::GetClientRect(CRect& rect) const {
    RECT client = {};
    if (HasWindow()) {
        ::GetClientRect(window_, &client);
    }
    rect = ToCRect(client);
}

void PaintManager::GetWindowRect(CRect& rect) const {
    RECT bounds = {};
    if (HasWindow()) {
        ::GetWindowRect(window_, &bounds);
    }
    rect = ToCRect(bounds);
}

void PaintManager::GetClientSize(int& width, int& height) const {
    CRect client;
    GetClientRect(client);
    width = client.Width();
    height = client.Height();
}

LRESULT PaintManager::SendMessageW(UINT message, WPARAM wParam, LPARAM lParam) {
    return HasWindow() ? ::SendMessageW(window_, message, wParam, lParam) : 0;
}

// Delivered synchronously, as a sent message, like SendMessageW.
LRESULT PaintManager::PostMessageW(UINT message, WPARAM wParam, LPARAM lParam) {
    return SendMessageW(message, wParam, lParam);
}

void PaintManager::AddGDITempFont(unsigned resourceId) { fonts_.AddGDITempFont(resourceId); }

Gdiplus::FontFamily* PaintManager::AddTempFont(const std::wstring& faceName, const std::wstring& path) {
    return fonts_.AddTempFont(faceName, path);
}

Gdiplus::FontFamily* PaintManager::AddTempFont(const std::wstring& faceName, unsigned resourceId) {
    return fonts_.AddTempFont(faceName, resourceId);
}

Gdiplus::FontFamily* PaintManager::FindTempFont(const std::wstring& faceName) { return fonts_.FindTempFont(faceName); }

void PaintManager::ClearTempFont() { fonts_.ClearTempFont(); }

ImgResInfo* PaintManager::AddImgResInfo(const wchar_t* fileName, int frames) {
    return images_.AddImgResInfo(fileName, frames);
}

ImgResInfo* PaintManager::AddImgResInfo(UINT id, const std::wstring& type, int frames, int programFlag) {
    return images_.AddImgResInfo(id, type, frames, programFlag);
}

void PaintManager::ClearImgResInfo() { images_.ClearImgResInfo(); }

}  // namespace Orvik
