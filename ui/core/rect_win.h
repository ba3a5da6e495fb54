#pragma once

#include <windows.h>

#include "core/rect.h"

namespace Orvik {

// The library's value types and the system's records have the same members.
inline RECT ToRECT(const CRect& rect) { return RECT{rect.left, rect.top, rect.right, rect.bottom}; }
inline CRect ToCRect(const RECT& rect) { return CRect{rect.left, rect.top, rect.right, rect.bottom}; }

}  // namespace Orvik
