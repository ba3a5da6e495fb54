#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/mobject.h"
#include "core/mwindow.h"
#include "core/paint_manager.h"

// A small window with a paint manager inside, standing where a dialog will: it owns
// the manager, hands it the paint, timer and final destroy messages, and passes
// the controls' redraw requests on to it.
class PaintedWindow : public Orvik::MWindow, public Orvik::MObject {
public:
    struct Event {
        unsigned control;
        unsigned event;
        bool operator==(const Event&) const = default;
    };

    ~PaintedWindow() override;

    // A visible popup at `rect` (screen coordinates), layered or not.
    bool Open(Orvik::CRect rect, bool layered);
    // Invalidates the whole client area and paints it now.
    void PaintNow();
    // Serves the thread's messages for `milliseconds`.
    void Pump(int milliseconds);
    // Serves the thread's messages until `condition` holds or `milliseconds` pass;
    // tells whether it held.
    bool PumpUntil(const std::function<bool()>& condition, int milliseconds);

    Orvik::PaintManager& Manager() { return manager_; }
    template <typename Control, typename... Args>
    Control* Add(Args&&... args) {
        auto control = std::make_unique<Control>(this, std::forward<Args>(args)...);
        Control* raw = control.get();
        manager_.AddControl(std::move(control));
        raw->SetManager(&manager_);
        return raw;
    }

    std::vector<Event> events;
    int paints = 0;

    const wchar_t* GetWindowClassName() const override { return L"OrvikPaintedWindow"; }
    LRESULT OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    int OnInitDialog() override;
    void OnDestroyMessage(HWND window) override;
    long OnBaseMessage(unsigned control, unsigned event, unsigned wParam, long lParam) override;
    long OnControlUpdate(Orvik::CRect rect, int redraw, Orvik::MControl* control) override;

private:
    Orvik::PaintManager manager_;
    bool layered_ = false;
};
