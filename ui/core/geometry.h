#pragma once

#include "core/rect.h"

namespace Orvik {

// `value` without its fraction; beyond the int range it saturates, NaN gives 0.
int TruncateTowardZero(float value);

// `value` times `scale` in single precision, truncated toward zero (7 × 1.5 is 10).
// Results beyond the int range saturate; NaN gives 0.
int ScaleTowardZero(int value, float scale);

// Top-left corner that centres a width × height box on `centre`, then pushes it back
// inside `area`: first off the right and bottom edges, then off the left and top
// ones, so a box larger than the area sits at the area's left and top. Halves are
// truncated toward zero.
CPoint CenteredOrigin(const CRect& centre, const CRect& area, int width, int height);

}  // namespace Orvik
