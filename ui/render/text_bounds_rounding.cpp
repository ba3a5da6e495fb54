#include "render/text_bounds_rounding.h"

#include <cmath>

namespace Orvik {

namespace {

bool HasFraction(double value) { return value != std::trunc(value); }

// trunc(value + whenFractional) or trunc(value + 1.0) for a whole value.
int PadAndTruncate(double value, double whenFractional) {
    return static_cast<int>(value + (HasFraction(value) ? whenFractional : 1.0));
}

}  // namespace

int TextBoundsWidth(double boundsWidth) {
    return HasFraction(boundsWidth) ? static_cast<int>(boundsWidth + 1.0) : static_cast<int>(boundsWidth);
}

int SingleLineTextHeight(double lineSpacing) { return PadAndTruncate(lineSpacing, 4.0); }

int WrappedTextHeight(double lineSpacing, double boundsHeight) {
    const int line = PadAndTruncate(lineSpacing, 2.0);
    const int bounds = PadAndTruncate(boundsHeight, 2.0);
    return bounds > line ? bounds + 5 : line + 1;
}

}  // namespace Orvik
