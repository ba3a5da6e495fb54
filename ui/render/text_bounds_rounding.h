#pragma once

namespace Orvik {

// Whole pixels from the measured path bounds and the font's line spacing. The odd
// margins (4 for fractional line spacing, 5 when wrapped text outgrows one line) are
// what the text-bearing controls were laid out with, so they must stay as they are.

// Rounded up: any fractional part adds one, then the value is truncated.
int TextBoundsWidth(double boundsWidth);

// Height of one measured line from the font's line spacing.
int SingleLineTextHeight(double lineSpacing);

// Height of text measured in a box of fixed width (wrapping allowed).
int WrappedTextHeight(double lineSpacing, double boundsHeight);

}  // namespace Orvik
