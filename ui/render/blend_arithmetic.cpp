#include "render/blend_arithmetic.h"

#include <algorithm>
#include <cmath>

namespace Orvik {

int TransitionAlpha(int start, int end, int count, int index) {
    const double low = std::min(start, end);
    const double high = std::max(start, end);
    const double first = std::trunc(255.0 - low * 255.0 / 100.0);
    const double last = std::trunc((100.0 - high) * 255.0 / 100.0);
    const double step = (first - last) / count;
    const double alpha = start < end ? first - index * step : last + index * step;
    return static_cast<int>(static_cast<std::int64_t>(std::trunc(alpha)) & 0xFF);
}

int CornerFadeAlpha(int n, int i, int j) {
    const double distance = std::sqrt(static_cast<double>(i) * i + static_cast<double>(j) * j);
    return static_cast<int>(std::trunc(255.0 - std::min<double>(n, distance) * 255.0 / n));
}

int MeanAlpha(std::uint32_t argb1, std::uint32_t argb2) {
    return static_cast<int>(((argb1 >> 24) + (argb2 >> 24)) / 2);
}

int GradientBandCount(int steps) {
    int exponent = 1;
    for (int threshold = 4; exponent < 6 && steps >= threshold; threshold *= 2) {
        ++exponent;
    }
    return 1 << exponent;
}

std::uint32_t GradientBandColor(std::uint32_t from, std::uint32_t to, int index, int count) {
    if (count <= 1) {
        return from;
    }
    std::uint32_t result = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const int a = static_cast<int>((from >> shift) & 0xFF);
        const int b = static_cast<int>((to >> shift) & 0xFF);
        const int channel = a + (b - a) * index / (count - 1);
        result |= static_cast<std::uint32_t>(channel) << shift;
    }
    return result;
}

std::uint32_t LiftPureBlack(std::uint32_t argb) { return (argb & 0x00FFFFFF) == 0 ? argb + 1 : argb; }

}  // namespace Orvik
