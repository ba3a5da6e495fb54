#include "core/geometry.h"

#include <cmath>
#include <limits>

namespace Orvik {

int TruncateTowardZero(float value) {
    if (std::isnan(value)) {
        return 0;
    }
    // 2^31 is the first float past the int range; converting beyond it is undefined.
    constexpr float kLimit = 2147483648.0f;
    if (value >= kLimit) {
        return std::numeric_limits<int>::max();
    }
    if (value < -kLimit) {
        return std::numeric_limits<int>::min();
    }
    return static_cast<int>(value);
}

int ScaleTowardZero(int value, float scale) { return TruncateTowardZero(static_cast<float>(value) * scale); }

namespace {

int CenteredStart(int centreLow, int centreHigh, int areaLow, int areaHigh, int size) {
    // Sums in 64 bits: rectangles near the int limits must not overflow.
    long long start = (static_cast<long long>(centreLow) + centreHigh) / 2 - size / 2;
    if (start + size > areaHigh) {
        start = static_cast<long long>(areaHigh) - size;
    }
    if (start < areaLow) {
        start = areaLow;
    }
    return static_cast<int>(start);
}

}  // namespace

CPoint CenteredOrigin(const CRect& centre, const CRect& area, int width, int height) {
    return CPoint{CenteredStart(centre.left, centre.right, area.left, area.right, width),
                  CenteredStart(centre.top, centre.bottom, area.top, area.bottom, height)};
}

}  // namespace Orvik
