#include "core/message_panel.h"

#include "core/overlay_layout.h"

namespace Orvik {

namespace {

constexpr unsigned kHoldInterval = 3000;
constexpr unsigned kFadeInterval = 50;
constexpr unsigned kProgressInterval = 10;
constexpr int kFadeStep = 10;
constexpr int kGoneBelow = 20;
constexpr int kProgressStep = 2;
// Progress closer than this to its target jumps there instead of animating.
constexpr int kJumpDistance = 5;

}  // namespace

MessagePanel::Step MessagePanel::SetMessage(const std::wstring& text, CRect rect, int level) {
    Step step;
    step.stop = {kHoldTimer, kFadeTimer};
    alpha_ = 255;
    text_ = text;
    level_ = level;
    progress_ = 0;
    rect_ = rect;
    step.repaintPanel = true;
    step.start = {{kHoldTimer, kHoldInterval}};
    return step;
}

MessagePanel::Step MessagePanel::SetProgress(int progress, const std::wstring& text, CRect rect, CRect client) {
    Step step;
    if (progress == target_) {
        return step;
    }
    if (progress < 5) {
        step.stop.push_back(kFadeTimer);
    }
    alpha_ = 255;
    text_ = text;
    target_ = progress;
    rect_ = rect.IsEmpty() ? DefaultProgressRect(client) : rect;
    if (target_ - progress_ <= kJumpDistance) {
        progress_ = target_;
        step.repaintPanel = true;
        if (progress_ >= 100) {
            step.start.push_back({kFadeTimer, kFadeInterval});
        }
    } else {
        step.start.push_back({kProgressTimer, kProgressInterval});
    }
    return step;
}

MessagePanel::Step MessagePanel::OnTimer(unsigned id) {
    Step step;
    switch (id) {
    case kHoldTimer:
        step.stop = {kHoldTimer};
        step.start = {{kFadeTimer, kFadeInterval}};
        break;
    case kFadeTimer:
        alpha_ -= kFadeStep;
        if (alpha_ < kGoneBelow) {
            alpha_ = 0;
            progress_ = 0;
            step.stop = {kFadeTimer};
            step.repaintAll = true;
        }
        step.repaintPanel = true;
        break;
    case kProgressTimer:
        progress_ += kProgressStep;
        if (progress_ >= target_) {
            step.stop = {kProgressTimer};
        }
        step.repaintPanel = true;
        if (progress_ >= 100) {
            step.start = {{kFadeTimer, kFadeInterval}};
        }
        break;
    default:
        break;
    }
    return step;
}

}  // namespace Orvik
