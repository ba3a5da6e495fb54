#pragma once

#include <cstdint>
#include <span>

#include "core/rect.h"

namespace Orvik {

// Pixels of a bottom-up 32-bit image (0xAARRGGBB), addressed in client coordinates:
// client row y is image row height - 1 - y. Areas are clipped to the image.
class BottomUpPixels {
public:
    BottomUpPixels(std::span<uint32_t> pixels, int width, int height);

    uint32_t& At(int x, int y);
    // Transparent black over `area`, so a layered window shows holes where nothing draws.
    void Clear(CRect area);
    // GDI draws with alpha 0, so in `area` a zero alpha over any colour becomes opaque;
    // only pure transparent black stays a hole.
    void FixUpAlpha(CRect area);

private:
    CRect Clip(CRect area) const;

    std::span<uint32_t> pixels_;
    int width_;
    int height_;
};

// The rule of FixUpAlpha for one pixel.
uint32_t FixedAlpha(uint32_t pixel);

}  // namespace Orvik
