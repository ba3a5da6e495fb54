#include "render/bitmap_file_layout.h"

namespace Orvik {

namespace {

int FileBitsForDepth(int displayDepth) {
    if (displayDepth <= 1) {
        return 1;
    }
    if (displayDepth <= 4) {
        return 4;
    }
    if (displayDepth <= 8) {
        return 8;
    }
    return 24;
}

}  // namespace

BitmapFileLayout ComputeBitmapFileLayout(int displayDepth, int width, int height) {
    BitmapFileLayout layout;
    layout.bitsPerPixel = FileBitsForDepth(displayDepth);
    const std::uint64_t rowBits = static_cast<std::uint64_t>(layout.bitsPerPixel) * static_cast<std::uint32_t>(width);
    layout.rowSize = static_cast<std::uint32_t>((rowBits + 31) / 32 * 4);
    layout.imageSize = layout.rowSize * static_cast<std::uint32_t>(height);
    layout.paletteSize = layout.bitsPerPixel <= 8 ? (1u << layout.bitsPerPixel) * 4 : 0;
    layout.pixelOffset = kBitmapFileHeaderSize + kBitmapInfoHeaderSize + layout.paletteSize;
    layout.fileSize = layout.pixelOffset + layout.imageSize;
    return layout;
}

}  // namespace Orvik
