#include "core/bottom_up_pixels.h"

#include <algorithm>

namespace Orvik {

uint32_t FixedAlpha(uint32_t pixel) {
    const bool transparent = (pixel & 0xFF000000u) == 0;
    const bool coloured = (pixel & 0x00FFFFFFu) != 0;
    return transparent && coloured ? pixel | 0xFF000000u : pixel;
}

BottomUpPixels::BottomUpPixels(std::span<uint32_t> pixels, int width, int height)
    : pixels_(pixels), width_(width), height_(height) {}

uint32_t& BottomUpPixels::At(int x, int y) {
    return pixels_[static_cast<size_t>(height_ - 1 - y) * static_cast<size_t>(width_) + static_cast<size_t>(x)];
}

CRect BottomUpPixels::Clip(CRect area) const {
    return CRect{std::max(area.left, 0), std::max(area.top, 0), std::min(area.right, width_),
                 std::min(area.bottom, height_)};
}

void BottomUpPixels::Clear(CRect area) {
    const CRect clipped = Clip(area);
    for (int y = clipped.top; y < clipped.bottom; ++y) {
        for (int x = clipped.left; x < clipped.right; ++x) {
            At(x, y) = 0;
        }
    }
}

void BottomUpPixels::FixUpAlpha(CRect area) {
    const CRect clipped = Clip(area);
    for (int y = clipped.top; y < clipped.bottom; ++y) {
        for (int x = clipped.left; x < clipped.right; ++x) {
            uint32_t& pixel = At(x, y);
            pixel = FixedAlpha(pixel);
        }
    }
}

}  // namespace Orvik
