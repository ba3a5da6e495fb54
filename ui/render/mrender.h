#pragma once

#include <windows.h>
#include <gdiplus.h>

#include <string>

#include "core/orvik_api.h"
#include "core/rect.h"

namespace Orvik {

// Stateless drawing and loading routines over GDI, GDI+, the system's blending
// functions and the shell. An image returned by a loader belongs to the caller.
class ORVIK_API MRender {
public:
    // Loading. Null when the file or resource is missing or does not decode.
    static Gdiplus::Image* LoadImageFromFile(const std::wstring& path);
    // A thumbnail of width x height (the image's own size when both are 0).
    static Gdiplus::Image* LoadImageFromFileEx(const std::wstring& path, int width, int height);
    // Only the low 16 bits of `id` count. Bytes that do not decode give an image
    // whose width and height read as 0.
    static Gdiplus::Image* LoadImageFromIDResource(UINT id, const std::wstring& type, HMODULE module);
    // The icon the shell associates with the file; the caller destroys it.
    static HICON LoadIconFromFile(const std::wstring& path);

    // Nine-grid drawing of the source rectangle (image pixels) onto `destination`:
    // corners keep their size, edges and centre stretch. A failed piece leaves its
    // status in `graphics`; the other pieces are still drawn.
    static void DrawImageFrame(Gdiplus::Graphics* graphics, Gdiplus::Image* image, CRect destination, int sourceX,
                               int sourceY, int sourceWidth, int sourceHeight, int corner);
    static void DrawImageFrameMID(Gdiplus::Graphics* graphics, Gdiplus::Image* image, CRect destination, int sourceX,
                                  int sourceY, int sourceWidth, int sourceHeight, int left, int top, int right,
                                  int bottom);
    // Where an image of that size shows inside `box`, scaled down to fit and centred.
    static CRect GetImageRect(int imageWidth, int imageHeight, CRect box);

    // Row-by-row (column-by-column) blend of `source` onto `destination`, from the
    // opacity of `start` to that of `end` (transparency percentages). Returns the
    // alpha of the last row drawn, or 255 when there is none.
    static int DrawVerticalTransition(HDC& destinationDC, HDC& sourceDC, CRect destination, CRect source, int start,
                                      int end);
    static int DrawHorizontalTransition(HDC& destinationDC, HDC& sourceDC, CRect destination, CRect source, int start,
                                        int end);
    // Fades the size x size square ending at the bottom-right corner of a rectangle
    // of rect's size placed at the origin of both DCs. `reserved` is not used.
    static void DrawRightBottomTransition(HDC& destinationDC, HDC& sourceDC, CRect rect, int size, DWORD reserved);

    static HDC CreateCompatibleDC(HDC dc);
    static HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height);
    // A bottom-up 32-bit section; `bits` receives the address of its pixels.
    static HBITMAP CreateARGB32Bitmap(HDC dc, int width, int height, DWORD** bits);
    static int BitBlt(HDC destinationDC, int x, int y, int width, int height, HDC sourceDC, int sourceX, int sourceY,
                      DWORD rasterOperation = SRCCOPY);
    // Opaque fills; the DC keeps the colour as its background colour.
    static void FillSolidRect(HDC& dc, const RECT* rect, COLORREF color);
    static void FillSolidRect(HDC& dc, int x, int y, int width, int height, COLORREF color);
    // GDI+ fill with an ARGB colour; nothing at alpha 0.
    static void DrawColor(HDC dc, RECT rect, DWORD argb);
    // Linear gradient, top to bottom when `vertical`, else left to right, blended
    // with the mean alpha of the two colours. `steps` sets the bands drawn where the
    // system's gradient fill is missing.
    static void DrawGradient(HDC dc, RECT rect, DWORD argb1, DWORD argb2, bool vertical, int steps);
    // Part of the interface the controls were written against; draws nothing.
    static void DrawRectangle(HDC& dc, CRect rect, int, int, int);
    // DrawText with the colour and font; restores both, leaves the background
    // mode transparent. Nothing for a null text.
    static void DrawTextW(HDC dc, CRect rect, const wchar_t* text, COLORREF color, HFONT font, UINT format);
    // BMP at the display's colour depth. 1 when written, else 0.
    static int SaveBitmapToFile(HBITMAP bitmap, const std::wstring& fileName);

    // Size of the text's outline in whole pixels: one line with a format of its own,
    // with the caller's format (may be null), or wrapped in a box of `width`.
    static Gdiplus::Size GetTextBounds(const Gdiplus::Font* font, const std::wstring& text);
    static Gdiplus::Size GetTextBounds(const Gdiplus::Font* font, const Gdiplus::StringFormat* format,
                                       const std::wstring& text);
    static Gdiplus::Size GetTextBounds(const Gdiplus::Font* font, const Gdiplus::StringFormat* format, int width,
                                       const std::wstring& text);
    // Offset of content in a box of width x height (horizontal 0 left, 1 centre,
    // 2 right; vertical 0 top, 4 centre, 8 bottom), or its position in `box`, 2 lower.
    static CPoint GetOriginPoint(int width, int height, int contentWidth, int contentHeight, UINT horizontal,
                                 UINT vertical);
    static CPoint GetOriginPoint(CRect box, int contentWidth, int contentHeight, UINT horizontal, UINT vertical);

    static void AddRoundedRectangle(Gdiplus::GraphicsPath* path, float x, float y, float width, float height,
                                    float radius);
    static void DrawRoundRectange(Gdiplus::Graphics* graphics, float x, float y, float width, float height,
                                  float radius, Gdiplus::Color color);
    // Radii are the size divided by `divisor`, halved (the smaller for both when
    // they differ by more than 10); outlined with the pen, filled first if `fill`.
    static void DrawRoundRectange(Gdiplus::Graphics* graphics, float x, float y, float width, float height,
                                  float divisor, Gdiplus::Color penColor, float penWidth, bool fill,
                                  Gdiplus::Color fillColor);
    static void RotatePoint(Gdiplus::PointF& point, float degrees, Gdiplus::PointF center);

    // Pure black of any alpha becomes 0x000001 with the same alpha.
    static void CheckAlphaColor(DWORD& color);
};

}  // namespace Orvik
