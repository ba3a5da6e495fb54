#pragma once

#include <windows.h>
#include <gdiplus.h>

#include "core/gdi_handles.h"

namespace Orvik {

// Holds the memory behind an image decoded from a stream. A base of its own, named
// before the image, so the image is disposed of before the memory goes.
struct GlobalBlockOwner {
    explicit GlobalBlockOwner(UniqueHGlobal block) : block_(std::move(block)) {}
    UniqueHGlobal block_;
};

// An image decoded from bytes in global memory, which it keeps as long as it lives:
// GDI+ may go back to the stream after decoding began.
class GlobalBlockImage : private GlobalBlockOwner, public Gdiplus::Image {
public:
    // `stream` reads `block` without owning it.
    GlobalBlockImage(UniqueHGlobal block, IStream* stream)
        : GlobalBlockOwner(std::move(block)), Gdiplus::Image(stream, FALSE) {}
};

}  // namespace Orvik
