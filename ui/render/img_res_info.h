#pragma once

#include <windows.h>
#include <gdiplus.h>

#include <string>

namespace Orvik {

// One cached image. Controls read the first three fields directly, so their order
// and types are part of the library interface. The image belongs to the cache.
struct ImgResInfo {
    Gdiplus::Image* image = nullptr;
    int frameWidth = 0;  // image width / frames, integer division
    int height = 0;
    int frames = 0;               // as named by the first requester
    std::wstring name;            // file name as requested; empty for resources
    unsigned int resourceId = 0;  // 0 for files
};

}  // namespace Orvik
