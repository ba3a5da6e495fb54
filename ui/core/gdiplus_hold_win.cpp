#include "core/gdiplus_hold_win.h"

#include <gdiplus.h>

#include <atomic>

namespace Orvik {

namespace {

std::atomic<int> holders{0};

}  // namespace

GdiplusHold::GdiplusHold() {
    const Gdiplus::GdiplusStartupInput input;
    started_ = Gdiplus::GdiplusStartup(&token_, &input, nullptr) == Gdiplus::Ok;
    if (started_) {
        ++holders;
    }
}

GdiplusHold::~GdiplusHold() {
    if (started_) {
        Gdiplus::GdiplusShutdown(token_);
        --holders;
    }
}

int GdiplusHold::Holders() { return holders.load(); }

}  // namespace Orvik
