#include "controls/control_surface_win.h"

namespace Orvik {

void ControlSurface::Fit(HDC dc, int width, int height) {
    if (width == width_ && height == height_) {
        return;
    }
    Remake(dc, width, height);
}

void ControlSurface::Remake(HDC dc, int width, int height) {
    Release();
    width_ = width;
    height_ = height;
    dc_.Reset(::CreateCompatibleDC(dc));
    bitmap_.Reset(::CreateCompatibleBitmap(dc, width, height));
    if (dc_ && bitmap_) {
        selection_ = SelectInto(dc_.Get(), bitmap_.Get());
    }
}

void ControlSurface::Release() {
    selection_.Reset();
    bitmap_.Reset();
    dc_.Reset();
}

}  // namespace Orvik
