#pragma once

#include <windows.h>

#include "core/rect.h"

namespace Orvik {

// The library's value types and the system's records have the same members.
inline RECT ToRECT(const CRect& rect) { return RECT{rect.left, rect.top, rect.right, rect.bottom}; }
inline CRect ToCRect(const RECT& rect) { return CRect{rect.left, rect.top, rect.right, rect.bottom}; }
inline POINT ToPOINT(const CPoint& point) { return POINT{point.x, point.y}; }
inline CPoint ToCPoint(const POINT& point) { return CPoint{point.x, point.y}; }

}  // namespace Orvik
