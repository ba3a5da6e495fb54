#pragma once

#include <windows.h>
#include <gdiplus.h>

#include <memory>

#include "core/gdi_handles.h"

// A 32-bit DIB selected into a memory DC, as the paint manager draws into, with its
// pixels readable as 0xAARRGGBB at client coordinates (rows stored bottom-up).
class Canvas {
public:
    Canvas(int width, int height, DWORD fill = 0);

    HDC DC() const { return dc_.Get(); }
    HBITMAP Bitmap() const { return bitmap_.Get(); }
    int Width() const { return width_; }
    int Height() const { return height_; }

    DWORD Pixel(int x, int y) const;
    void SetPixel(int x, int y, DWORD argb);
    void Fill(DWORD argb);
    // A GDI+ graphics object on the canvas (nearest-neighbour sampling of pixel
    // centres, so stretched images keep exact colours up to their edges).
    std::unique_ptr<Gdiplus::Graphics> Graphics() const;
    // GDI work is batched; flush it before reading pixels.
    void Flush() const { ::GdiFlush(); }

private:
    int width_;
    int height_;
    DWORD* bits_ = nullptr;
    Orvik::UniqueHDC dc_;
    Orvik::UniqueHBitmap bitmap_;
    Orvik::UniqueSelectObject selection_;
};

// What the screen shows at `area` (screen coordinates), layered windows included.
std::unique_ptr<Canvas> ReadScreen(int x, int y, int width, int height);

// Red, green and blue bytes of an ARGB value.
inline int Red(DWORD argb) { return (argb >> 16) & 0xFF; }
inline int Green(DWORD argb) { return (argb >> 8) & 0xFF; }
inline int Blue(DWORD argb) { return argb & 0xFF; }
inline DWORD Rgb(DWORD argb) { return argb & 0x00FFFFFF; }
