#pragma once

#include <windows.h>

#include "core/bottom_up_pixels.h"
#include "core/gdi_handles.h"

namespace Orvik {

// A fresh 32-bit bottom-up image of one paint, selected into a memory DC compatible
// with `compatibleWith`, its pixels open to the caller. Everything goes at the end.
class OffscreenImage {
public:
    OffscreenImage(HDC compatibleWith, int width, int height);
    OffscreenImage(const OffscreenImage&) = delete;
    OffscreenImage& operator=(const OffscreenImage&) = delete;

    bool IsValid() const { return selection_.IsValid(); }
    HDC DC() const { return dc_.Get(); }
    // GDI may still hold drawing back: flush before touching the pixels.
    BottomUpPixels Pixels();

private:
    int width_;
    int height_;
    DWORD* bits_ = nullptr;
    UniqueHDC dc_;
    UniqueHBitmap bitmap_;
    UniqueSelectObject selection_;
};

}  // namespace Orvik
