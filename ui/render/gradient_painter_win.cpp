#include "render/gradient_painter_win.h"

#include "core/gdi_handles.h"
#include "render/blend_arithmetic.h"
#include "render/mrender.h"

namespace Orvik {

namespace {

TRIVERTEX Vertex(LONG x, LONG y, DWORD argb) {
    // Vertex channels are 16-bit; the corners carry full alpha.
    return TRIVERTEX{x,
                     y,
                     static_cast<COLOR16>(((argb >> 16) & 0xFF) << 8),
                     static_cast<COLOR16>(((argb >> 8) & 0xFF) << 8),
                     static_cast<COLOR16>((argb & 0xFF) << 8),
                     0xFF00};
}

COLORREF ToColorRef(DWORD argb) { return RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF); }

}  // namespace

const GradientPainter& GradientPainter::System() {
    static const GradientPainter painter = [] {
        HMODULE module = ::LoadLibraryW(L"msimg32.dll");
        if (!module) {
            return GradientPainter(nullptr, nullptr);
        }
        return GradientPainter(
            reinterpret_cast<GradientFillFunction>(reinterpret_cast<void*>(::GetProcAddress(module, "GradientFill"))),
            reinterpret_cast<AlphaBlendFunction>(reinterpret_cast<void*>(::GetProcAddress(module, "AlphaBlend"))));
    }();
    return painter;
}

GradientPainter::GradientPainter(GradientFillFunction gradientFill, AlphaBlendFunction alphaBlend)
    : gradientFill_(gradientFill), alphaBlend_(alphaBlend) {}

void GradientPainter::Draw(HDC dc, RECT rect, DWORD argb1, DWORD argb2, bool vertical, int steps) const {
    const int alpha = MeanAlpha(argb1, argb2);
    if (alpha == 0) {
        return;
    }
    if (alpha >= 255) {
        Fill(dc, rect, argb1, argb2, vertical, steps);
        return;
    }
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (!alphaBlend_ || width <= 0 || height <= 0) {
        return;
    }
    DWORD* pixels = nullptr;
    UniqueHBitmap bitmap(MRender::CreateARGB32Bitmap(dc, width, height, &pixels));
    UniqueHDC memoryDC(::CreateCompatibleDC(dc));
    if (!bitmap || !memoryDC) {
        return;
    }
    {
        UniqueSelectObject selection = SelectInto(memoryDC.Get(), bitmap.Get());
        Fill(memoryDC.Get(), RECT{0, 0, width, height}, argb1, argb2, vertical, steps);
        ::GdiFlush();
        // GDI leaves the alpha byte of what it draws undefined; the gradient is opaque
        // before the constant alpha applies.
        for (int i = 0; i < width * height; ++i) {
            pixels[i] |= 0xFF000000;
        }
        const BLENDFUNCTION blend{AC_SRC_OVER, 0, static_cast<BYTE>(alpha), AC_SRC_ALPHA};
        alphaBlend_(dc, rect.left, rect.top, width, height, memoryDC.Get(), 0, 0, width, height, blend);
    }
}

void GradientPainter::Fill(HDC dc, RECT rect, DWORD argb1, DWORD argb2, bool vertical, int steps) const {
    if (gradientFill_) {
        TRIVERTEX corners[2] = {Vertex(rect.left, rect.top, argb1), Vertex(rect.right, rect.bottom, argb2)};
        GRADIENT_RECT mesh{0, 1};
        gradientFill_(dc, corners, 2, &mesh, 1, vertical ? GRADIENT_FILL_RECT_V : GRADIENT_FILL_RECT_H);
        return;
    }
    const COLORREF background = ::GetBkColor(dc);
    const int bands = GradientBandCount(steps);
    const int extent = vertical ? rect.bottom - rect.top : rect.right - rect.left;
    for (int band = 0; band < bands; ++band) {
        const int from = extent * band / bands;
        const int to = extent * (band + 1) / bands;
        RECT part = rect;
        if (vertical) {
            part.top = rect.top + from;
            part.bottom = rect.top + to;
        } else {
            part.left = rect.left + from;
            part.right = rect.left + to;
        }
        MRender::FillSolidRect(dc, &part, ToColorRef(GradientBandColor(argb1, argb2, band, bands)));
    }
    ::SetBkColor(dc, background);
}

}  // namespace Orvik
