#pragma once

#include <windows.h>

#include "core/gdi_handles.h"
#include "core/orvik_api.h"

namespace Orvik {

// A memory DC with a bitmap of its own selected into it: where a control keeps its
// last rendering between paints.
class ORVIK_API ControlSurface {
public:
    ControlSurface() = default;
    ControlSurface(const ControlSurface&) = delete;
    ControlSurface& operator=(const ControlSurface&) = delete;

    // A new DC and bitmap compatible with `dc`, unless the size is the one held.
    void Fit(HDC dc, int width, int height);
    // A new DC and bitmap compatible with `dc` whatever size is held.
    void Remake(HDC dc, int width, int height);
    void Release();

    HDC DC() const { return dc_.Get(); }
    int Width() const { return width_; }
    int Height() const { return height_; }

private:
    int width_ = 0;
    int height_ = 0;
    // Declared in the order of making; released in reverse: the selection is
    // undone before the bitmap and the DC are deleted.
    UniqueHDC dc_;
    UniqueHBitmap bitmap_;
    UniqueSelectObject selection_;
};

}  // namespace Orvik
