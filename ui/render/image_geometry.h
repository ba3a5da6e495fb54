#pragma once

#include <array>

#include "core/rect.h"

namespace Orvik {

// A rectangle as position and size, the form image drawing takes.
struct PixelBox {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    friend bool operator==(const PixelBox&, const PixelBox&) = default;
};

// One piece of nine-grid drawing: `source` (image pixels) stretched onto `destination`.
struct NineGridPiece {
    PixelBox destination;
    PixelBox source;
};

// Margins of nine-grid drawing: widths of the left and right columns, heights of
// the top and bottom rows. Corners keep their size, edges and centre stretch.
struct NineGridMargins {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// The nine pieces in drawing order: top-left, left edge, bottom-left, top edge,
// top-right, right edge, bottom-right, bottom edge, centre.
std::array<NineGridPiece, 9> NineGridPieces(CRect destination, PixelBox source, NineGridMargins margins);

// Where an image of w x h shows inside `box`: scaled down (keeping its ratio) when
// it is larger than the box in both dimensions or larger in one and smaller in the
// other, then centred. Integer arithmetic throughout, truncating.
CRect FitImageInBox(int width, int height, CRect box);

// Horizontal alignment 0 left, 1 centre, 2 right; vertical 0 top, 4 centre, 8 bottom.
inline constexpr unsigned kAlignCenter = 1;
inline constexpr unsigned kAlignRight = 2;
inline constexpr unsigned kAlignVCenter = 4;
inline constexpr unsigned kAlignBottom = 8;

// Offset of content inside a box of width x height for the given alignments.
CPoint ContentOrigin(int width, int height, int contentWidth, int contentHeight, unsigned horizontal,
                     unsigned vertical);

// The same placed in `box`, two pixels lower: text sits better a little below the
// geometric centre, and every text-bearing control is laid out with that.
CPoint ContentOriginInBox(CRect box, int contentWidth, int contentHeight, unsigned horizontal, unsigned vertical);

// Rotation of (x, y) about (cx, cy) by `degrees`, pi taken as 3.1415926.
void RotateAbout(float& x, float& y, float degrees, float cx, float cy);

// Corner radii of a rounded rectangle of width x height whose radii are the size
// divided by `divisor`, halved; radii that differ by more than 10 both take the smaller.
struct CornerRadii {
    float x = 0;
    float y = 0;
};
CornerRadii RoundedCornerRadii(float width, float height, float divisor);

}  // namespace Orvik
