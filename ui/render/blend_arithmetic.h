#pragma once

#include <cstdint>

namespace Orvik {

// Constant alpha of row or column `index` of a transition over `count` rows or
// columns. `start` and `end` are transparency percentages (0 opaque, 100 invisible);
// the first row shows the opacity of `start`, the last approaches that of `end`.
// Only the low 8 bits of the computed value are used, as AlphaBlend takes a byte.
// `count` must be positive.
int TransitionAlpha(int start, int end, int count, int index);

// Alpha of the pixel at offset (i, j) inside the n x n corner square of a
// bottom-right fade: opaque at (0, 0), transparent from distance n on. n > 0.
int CornerFadeAlpha(int n, int i, int j);

// Mean of the two alpha bytes, truncated.
int MeanAlpha(std::uint32_t argb1, std::uint32_t argb2);

// Number of solid bands that stand in for a gradient when the system's gradient
// fill is missing: 2^k, k = 1..6 as steps reach 4, 8, 16, 32 and 64.
int GradientBandCount(int steps);

// Colour of band `index` of `count` bands from `from` to `to` (each ARGB channel
// interpolated on its own, first band `from`, last band `to`).
std::uint32_t GradientBandColor(std::uint32_t from, std::uint32_t to, int index, int count);

// Pure black of any alpha becomes 0x000001 with the same alpha: layered output
// treats black with zero alpha as a hole, so colours meant to show avoid it.
std::uint32_t LiftPureBlack(std::uint32_t argb);

}  // namespace Orvik
