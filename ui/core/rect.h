#pragma once

#include <cstdint>

namespace Orvik {

// Point value of the library's interfaces, in device pixels.
struct CPoint {
    int32_t x = 0;
    int32_t y = 0;

    friend bool operator==(const CPoint&, const CPoint&) = default;
};

// Rectangle value of the library's interfaces. Right and bottom are exclusive, so a
// rectangle from (10, 10) to (20, 30) is 10 wide and 20 tall.
struct CRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    int32_t Width() const { return right - left; }
    int32_t Height() const { return bottom - top; }
    bool IsEmpty() const { return right <= left || bottom <= top; }

    friend bool operator==(const CRect&, const CRect&) = default;
};

// As the system's IntersectRect answers: empty rectangles meet nothing.
inline bool Intersects(const CRect& a, const CRect& b) {
    return !a.IsEmpty() && !b.IsEmpty() && a.left < b.right && b.left < a.right && a.top < b.bottom &&
           b.top < a.bottom;
}

// As the system's UnionRect: an empty rectangle adds nothing.
inline CRect UnionOf(const CRect& a, const CRect& b) {
    if (a.IsEmpty()) {
        return b.IsEmpty() ? CRect{} : b;
    }
    if (b.IsEmpty()) {
        return a;
    }
    return CRect{a.left < b.left ? a.left : b.left, a.top < b.top ? a.top : b.top,
                 a.right > b.right ? a.right : b.right, a.bottom > b.bottom ? a.bottom : b.bottom};
}

}  // namespace Orvik
