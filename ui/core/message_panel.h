#pragma once

#include <string>
#include <vector>

#include "core/rect.h"

namespace Orvik {

// The paint manager's fading message panel as a state machine over its three window
// timers: a message holds for 3 s (66), then fades by 10 every 50 ms (88) until its
// alpha drops below 20; a progress value animates by 2 every 10 ms (99) and fades
// once it reaches 100. Each operation says which timers to stop and start and
// what to repaint; the owner of the window does it.
class MessagePanel {
public:
    static constexpr unsigned kHoldTimer = 66;
    static constexpr unsigned kFadeTimer = 88;
    static constexpr unsigned kProgressTimer = 99;

    struct TimerStart {
        unsigned id;
        unsigned interval;
        bool operator==(const TimerStart&) const = default;
    };
    struct Step {
        std::vector<unsigned> stop;  // stopped first
        std::vector<TimerStart> start;
        bool repaintPanel = false;
        bool repaintAll = false;
    };

    Step SetMessage(const std::wstring& text, CRect rect, int level);
    // An empty `rect` places the panel with DefaultProgressRect(client).
    Step SetProgress(int progress, const std::wstring& text, CRect rect, CRect client);
    // Timers of other ids change nothing.
    Step OnTimer(unsigned id);

    // Painted only while it is more than barely visible and has something to say.
    bool IsShown() const { return alpha_ > 10 && !text_.empty(); }
    int Alpha() const { return alpha_; }
    int Progress() const { return progress_; }
    const std::wstring& Text() const { return text_; }
    CRect Rect() const { return rect_; }

private:
    std::wstring text_;
    int level_ = 0;  // kept with the message; the drawing does not depend on it
    int alpha_ = 0;
    int progress_ = 0;
    int target_ = 0;
    CRect rect_;
};

}  // namespace Orvik
