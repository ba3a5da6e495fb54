#include "core/offscreen_image_win.h"

#include <span>

#include "render/mrender.h"

namespace Orvik {

OffscreenImage::OffscreenImage(HDC compatibleWith, int width, int height)
    : width_(width), height_(height), dc_(::CreateCompatibleDC(compatibleWith)) {
    if (dc_ && width > 0 && height > 0) {
        bitmap_.Reset(MRender::CreateARGB32Bitmap(dc_.Get(), width, height, &bits_));
    }
    if (bitmap_) {
        selection_ = SelectInto(dc_.Get(), bitmap_.Get());
    }
}

BottomUpPixels OffscreenImage::Pixels() {
    ::GdiFlush();
    const size_t count = bits_ != nullptr ? static_cast<size_t>(width_) * static_cast<size_t>(height_) : 0;
    return BottomUpPixels(std::span<uint32_t>(reinterpret_cast<uint32_t*>(bits_), count), width_, height_);
}

}  // namespace Orvik
