#pragma once

#include <cstdint>

namespace Orvik {

// Sizes and offsets of a BMP file written at the display's colour depth.
struct BitmapFileLayout {
    int bitsPerPixel = 0;
    std::uint32_t rowSize = 0;      // bytes per row, padded to 4
    std::uint32_t imageSize = 0;    // rowSize x height
    std::uint32_t paletteSize = 0;  // bytes of colour table after the info header
    std::uint32_t pixelOffset = 0;  // from the start of the file
    std::uint32_t fileSize = 0;
};

inline constexpr std::uint32_t kBitmapFileHeaderSize = 14;
inline constexpr std::uint32_t kBitmapInfoHeaderSize = 40;

// `displayDepth` is planes x bits per pixel of the display: files are written at
// 1, 4, 8 or 24 bits. Depths of 8 bits or fewer carry their colour table (one
// 4-byte entry per colour) between the headers and the pixels. Width and height
// must be non-negative.
BitmapFileLayout ComputeBitmapFileLayout(int displayDepth, int width, int height);

}  // namespace Orvik
