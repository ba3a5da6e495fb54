#pragma once

#include <windows.h>

namespace Orvik {

// Orvik.dll's own module, captured when the library is loaded into the process: the
// source of the library's resources (the "TTF" face 106, the "PNG" scroll-bar images
// 101 and 102). Program resources come from Manager::m_hInstance instead.
HMODULE LibraryModule();

}  // namespace Orvik
