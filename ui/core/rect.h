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

}  // namespace Orvik
