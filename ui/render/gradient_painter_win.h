#pragma once

#include <windows.h>

#include "core/orvik_api.h"

namespace Orvik {

// Two-colour linear gradients over the system's gradient fill, or solid bands where
// that function is missing, blended with AlphaBlend when not opaque.
class ORVIK_API GradientPainter {
public:
    using GradientFillFunction = BOOL(WINAPI*)(HDC, PTRIVERTEX, ULONG, PVOID, ULONG, ULONG);
    using AlphaBlendFunction = BOOL(WINAPI*)(HDC, int, int, int, int, HDC, int, int, int, int, BLENDFUNCTION);

    // The functions of "msimg32.dll", looked up by name on first use and kept for
    // the life of the process.
    static const GradientPainter& System();

    // Either function may be null: no gradient fill means bands, no blend means
    // a translucent gradient is not drawn.
    GradientPainter(GradientFillFunction gradientFill, AlphaBlendFunction alphaBlend);

    GradientFillFunction GradientFill() const { return gradientFill_; }
    AlphaBlendFunction AlphaBlend() const { return alphaBlend_; }

    // From argb1 to argb2, top to bottom when `vertical`, else left to right, at the
    // mean of the two alphas; `steps` chooses the number of bands.
    void Draw(HDC dc, RECT rect, DWORD argb1, DWORD argb2, bool vertical, int steps) const;

private:
    // Opaque gradient over `rect` of `dc`.
    void Fill(HDC dc, RECT rect, DWORD argb1, DWORD argb2, bool vertical, int steps) const;

    GradientFillFunction gradientFill_;
    AlphaBlendFunction alphaBlend_;
};

}  // namespace Orvik
