#include "render/mrender.h"

#include <shellapi.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <vector>

#include "core/rect_win.h"
#include "core/gdi_handles.h"
#include "render/bitmap_file_layout.h"
#include "render/blend_arithmetic.h"
#include "render/global_block_image_win.h"
#include "render/gradient_painter_win.h"
#include "render/image_geometry.h"
#include "render/text_bounds_rounding.h"

namespace Orvik {

namespace {

void DrawPieces(Gdiplus::Graphics* graphics, Gdiplus::Image* image, const std::array<NineGridPiece, 9>& pieces) {
    if (!graphics || !image) {
        return;
    }
    for (const NineGridPiece& piece : pieces) {
        const PixelBox& d = piece.destination;
        const PixelBox& s = piece.source;
        graphics->DrawImage(image, Gdiplus::Rect(d.x, d.y, d.width, d.height), s.x, s.y, s.width, s.height,
                            Gdiplus::UnitPixel);
    }
}

// One strip per row (or column) of the destination, each at its own constant alpha.
int DrawTransition(HDC destinationDC, HDC sourceDC, CRect destination, CRect source, int start, int end,
                   bool vertical) {
    const int count = vertical ? destination.Height() : destination.Width();
    int alpha = 255;
    for (int i = 0; i < count; ++i) {
        alpha = TransitionAlpha(start, end, count, i);
        const BLENDFUNCTION blend{AC_SRC_OVER, 0, static_cast<BYTE>(alpha), 0};
        if (vertical) {
            ::AlphaBlend(destinationDC, destination.left, destination.top + i, destination.Width(), 1, sourceDC,
                         source.left, source.top + i, destination.Width(), 1, blend);
        } else {
            ::AlphaBlend(destinationDC, destination.left + i, destination.top, 1, destination.Height(), sourceDC,
                         source.left + i, source.top, 1, destination.Height(), blend);
        }
    }
    return alpha;
}

// Elliptical corners of rx x ry, clockwise from the top-left, closed.
void AddRoundedOutline(Gdiplus::GraphicsPath& path, float x, float y, float width, float height, float rx, float ry) {
    const float dx = rx * 2;
    const float dy = ry * 2;
    path.AddArc(x, y, dx, dy, 180, 90);
    path.AddArc(x + width - dx, y, dx, dy, 270, 90);
    path.AddArc(x + width - dx, y + height - dy, dx, dy, 0, 90);
    path.AddArc(x, y + height - dy, dx, dy, 90, 90);
    path.CloseFigure();
}

struct TextOutline {
    Gdiplus::RectF bounds;
    double lineSpacing = 0;
};

// Bounds of the text's glyph outline laid out at the origin in a box `width` wide
// (0: unbounded), and the font's line spacing in pixels.
TextOutline MeasureOutline(const Gdiplus::Font* font, const Gdiplus::StringFormat* format, int width,
                           const std::wstring& text) {
    TextOutline outline;
    if (!font) {
        return outline;
    }
    // No format means the default one (Wine's path text refuses a null format).
    const Gdiplus::StringFormat defaultFormat;
    if (!format) {
        format = &defaultFormat;
    }
    Gdiplus::FontFamily family;
    font->GetFamily(&family);
    Gdiplus::GraphicsPath path(Gdiplus::FillModeAlternate);
    path.AddString(text.c_str(), static_cast<INT>(text.size()), &family, font->GetStyle(), font->GetSize(),
                   Gdiplus::RectF(0, 0, static_cast<Gdiplus::REAL>(width), 0), format);
    path.GetBounds(&outline.bounds);
    outline.lineSpacing = font->GetHeight(0.0f);
    return outline;
}

}  // namespace

Gdiplus::Image* MRender::LoadImageFromFile(const std::wstring& path) {
    std::unique_ptr<Gdiplus::Image> image(Gdiplus::Image::FromFile(path.c_str(), FALSE));
    if (!image || image->GetLastStatus() != Gdiplus::Ok) {
        return nullptr;
    }
    return image.release();
}

Gdiplus::Image* MRender::LoadImageFromFileEx(const std::wstring& path, int width, int height) {
    const std::unique_ptr<Gdiplus::Image> full(LoadImageFromFile(path));
    if (!full) {
        return nullptr;
    }
    if (width == 0 && height == 0) {
        width = static_cast<int>(full->GetWidth());
        height = static_cast<int>(full->GetHeight());
    }
    return full->GetThumbnailImage(static_cast<UINT>(width), static_cast<UINT>(height), nullptr, nullptr);
}

Gdiplus::Image* MRender::LoadImageFromIDResource(UINT id, const std::wstring& type, HMODULE module) {
    HRSRC resource = ::FindResourceW(module, MAKEINTRESOURCEW(id & 0xFFFF), type.c_str());
    if (!resource) {
        return nullptr;
    }
    const DWORD size = ::SizeofResource(module, resource);
    HGLOBAL loaded = ::LoadResource(module, resource);
    const void* bytes = loaded ? ::LockResource(loaded) : nullptr;
    if (!bytes || size == 0) {
        return nullptr;
    }
    UniqueHGlobal block(::GlobalAlloc(GMEM_FIXED, size));
    if (!block) {
        return nullptr;
    }
    std::memcpy(block.Get(), bytes, size);
    IStream* stream = nullptr;
    if (FAILED(::CreateStreamOnHGlobal(block.Get(), FALSE, &stream))) {
        return nullptr;
    }
    Gdiplus::Image* image = new GlobalBlockImage(std::move(block), stream);
    stream->Release();
    ::FreeResource(loaded);
    return image;
}

HICON MRender::LoadIconFromFile(const std::wstring& path) {
    // The shell may write the path of the associated program back into the buffer.
    std::vector<wchar_t> buffer(std::max<std::size_t>(MAX_PATH, path.size() + 1), L'\0');
    std::copy(path.begin(), path.end(), buffer.begin());
    WORD index = 0;
    return ::ExtractAssociatedIconW(nullptr, buffer.data(), &index);
}

void MRender::DrawImageFrame(Gdiplus::Graphics* graphics, Gdiplus::Image* image, CRect destination, int sourceX,
                             int sourceY, int sourceWidth, int sourceHeight, int corner) {
    DrawPieces(
        graphics, image,
        NineGridPieces(destination, {sourceX, sourceY, sourceWidth, sourceHeight}, {corner, corner, corner, corner}));
}

void MRender::DrawImageFrameMID(Gdiplus::Graphics* graphics, Gdiplus::Image* image, CRect destination, int sourceX,
                                int sourceY, int sourceWidth, int sourceHeight, int left, int top, int right,
                                int bottom) {
    DrawPieces(graphics, image,
               NineGridPieces(destination, {sourceX, sourceY, sourceWidth, sourceHeight}, {left, top, right, bottom}));
}

CRect MRender::GetImageRect(int imageWidth, int imageHeight, CRect box) {
    return FitImageInBox(imageWidth, imageHeight, box);
}

int MRender::DrawVerticalTransition(HDC& destinationDC, HDC& sourceDC, CRect destination, CRect source, int start,
                                    int end) {
    return DrawTransition(destinationDC, sourceDC, destination, source, start, end, true);
}

int MRender::DrawHorizontalTransition(HDC& destinationDC, HDC& sourceDC, CRect destination, CRect source, int start,
                                      int end) {
    return DrawTransition(destinationDC, sourceDC, destination, source, start, end, false);
}

void MRender::DrawRightBottomTransition(HDC& destinationDC, HDC& sourceDC, CRect rect, int size, DWORD) {
    for (int j = 0; j < size; ++j) {
        const int y = rect.Height() - size + j;
        for (int i = 0; i < size; ++i) {
            const int x = rect.Width() - size + i;
            const BLENDFUNCTION blend{AC_SRC_OVER, 0, static_cast<BYTE>(CornerFadeAlpha(size, i, j)), 0};
            ::AlphaBlend(destinationDC, x, y, 1, 1, sourceDC, x, y, 1, 1, blend);
        }
    }
}

HDC MRender::CreateCompatibleDC(HDC dc) { return ::CreateCompatibleDC(dc); }

HBITMAP MRender::CreateCompatibleBitmap(HDC dc, int width, int height) {
    return ::CreateCompatibleBitmap(dc, width, height);
}

HBITMAP MRender::CreateARGB32Bitmap(HDC dc, int width, int height, DWORD** bits) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;  // positive: bottom-up
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* pixels = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(dc, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    if (bits) {
        *bits = bitmap ? static_cast<DWORD*>(pixels) : nullptr;
    }
    return bitmap;
}

int MRender::BitBlt(HDC destinationDC, int x, int y, int width, int height, HDC sourceDC, int sourceX, int sourceY,
                    DWORD rasterOperation) {
    return ::BitBlt(destinationDC, x, y, width, height, sourceDC, sourceX, sourceY, rasterOperation);
}

void MRender::FillSolidRect(HDC& dc, const RECT* rect, COLORREF color) {
    ::SetBkColor(dc, color);
    ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, rect, nullptr, 0, nullptr);
}

void MRender::FillSolidRect(HDC& dc, int x, int y, int width, int height, COLORREF color) {
    const RECT rect{x, y, x + width, y + height};
    FillSolidRect(dc, &rect, color);
}

void MRender::DrawColor(HDC dc, RECT rect, DWORD argb) {
    if ((argb >> 24) == 0) {
        return;
    }
    Gdiplus::Graphics graphics(dc);
    Gdiplus::SolidBrush brush{Gdiplus::Color(argb)};
    graphics.FillRectangle(&brush, static_cast<INT>(rect.left), static_cast<INT>(rect.top),
                           static_cast<INT>(rect.right - rect.left), static_cast<INT>(rect.bottom - rect.top));
}

void MRender::DrawGradient(HDC dc, RECT rect, DWORD argb1, DWORD argb2, bool vertical, int steps) {
    GradientPainter::System().Draw(dc, rect, argb1, argb2, vertical, steps);
}

void MRender::DrawRectangle(HDC&, CRect, int, int, int) {}

void MRender::DrawTextW(HDC dc, CRect rect, const wchar_t* text, COLORREF color, HFONT font, UINT format) {
    if (!text) {
        return;
    }
    ::SetBkMode(dc, TRANSPARENT);
    const COLORREF previousColor = ::SetTextColor(dc, color);
    {
        const UniqueSelectObject selection = SelectInto(dc, font);
        RECT area = ToRECT(rect);
        ::DrawTextW(dc, text, -1, &area, format);
    }
    ::SetTextColor(dc, previousColor);
}

int MRender::SaveBitmapToFile(HBITMAP bitmap, const std::wstring& fileName) {
    BITMAP described{};
    if (!bitmap || !::GetObjectW(bitmap, sizeof described, &described)) {
        return 0;
    }
    int displayDepth = 0;
    if (const UniqueHDC display(::CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr)); display) {
        displayDepth = ::GetDeviceCaps(display.Get(), PLANES) * ::GetDeviceCaps(display.Get(), BITSPIXEL);
    }
    const BitmapFileLayout layout = ComputeBitmapFileLayout(displayDepth, described.bmWidth, described.bmHeight);

    // Info header, colour table (at 8 bits or fewer) and pixels, as they go to the file.
    std::vector<BYTE> contents(kBitmapInfoHeaderSize + layout.paletteSize + layout.imageSize, 0);
    auto* header = reinterpret_cast<BITMAPINFOHEADER*>(contents.data());
    header->biSize = kBitmapInfoHeaderSize;
    header->biWidth = described.bmWidth;
    header->biHeight = described.bmHeight;
    header->biPlanes = 1;
    header->biBitCount = static_cast<WORD>(layout.bitsPerPixel);
    header->biCompression = BI_RGB;
    header->biSizeImage = layout.imageSize;
    {
        const UniqueWindowDC screen = BorrowDC(nullptr);
        if (!screen) {
            return 0;
        }
        HDC dc = screen.Get().dc;
        HPALETTE previous = ::SelectPalette(dc, static_cast<HPALETTE>(::GetStockObject(DEFAULT_PALETTE)), FALSE);
        ::RealizePalette(dc);
        const int lines = ::GetDIBits(dc, bitmap, 0, static_cast<UINT>(described.bmHeight),
                                      contents.data() + kBitmapInfoHeaderSize + layout.paletteSize,
                                      reinterpret_cast<BITMAPINFO*>(header), DIB_RGB_COLORS);
        ::SelectPalette(dc, previous, FALSE);
        if (lines == 0) {
            return 0;
        }
    }

    Base::UniqueFileHandle file(::CreateFileW(fileName.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) {
        return 0;
    }
    BITMAPFILEHEADER fileHeader{};
    fileHeader.bfType = 0x4D42;  // "BM"
    fileHeader.bfSize = layout.fileSize;
    fileHeader.bfOffBits = layout.pixelOffset;
    DWORD written = 0;
    const bool complete =
        ::WriteFile(file.Get(), &fileHeader, sizeof fileHeader, &written, nullptr) && written == sizeof fileHeader &&
        ::WriteFile(file.Get(), contents.data(), static_cast<DWORD>(contents.size()), &written, nullptr) &&
        written == contents.size();
    if (!complete) {
        // A truncated bitmap is worse than none.
        file.Reset();
        ::DeleteFileW(fileName.c_str());
        return 0;
    }
    return 1;
}

Gdiplus::Size MRender::GetTextBounds(const Gdiplus::Font* font, const std::wstring& text) {
    Gdiplus::StringFormat format;
    format.SetAlignment(Gdiplus::StringAlignmentNear);
    format.SetFormatFlags(Gdiplus::StringFormatFlagsNoWrap | Gdiplus::StringFormatFlagsMeasureTrailingSpaces);
    return GetTextBounds(font, &format, text);
}

Gdiplus::Size MRender::GetTextBounds(const Gdiplus::Font* font, const Gdiplus::StringFormat* format,
                                     const std::wstring& text) {
    const TextOutline outline = MeasureOutline(font, format, 0, text);
    return Gdiplus::Size(TextBoundsWidth(outline.bounds.Width), SingleLineTextHeight(outline.lineSpacing));
}

Gdiplus::Size MRender::GetTextBounds(const Gdiplus::Font* font, const Gdiplus::StringFormat* format, int width,
                                     const std::wstring& text) {
    const TextOutline outline = MeasureOutline(font, format, width, text);
    return Gdiplus::Size(TextBoundsWidth(outline.bounds.Width),
                         WrappedTextHeight(outline.lineSpacing, outline.bounds.Height));
}

CPoint MRender::GetOriginPoint(int width, int height, int contentWidth, int contentHeight, UINT horizontal,
                               UINT vertical) {
    return ContentOrigin(width, height, contentWidth, contentHeight, horizontal, vertical);
}

CPoint MRender::GetOriginPoint(CRect box, int contentWidth, int contentHeight, UINT horizontal, UINT vertical) {
    return ContentOriginInBox(box, contentWidth, contentHeight, horizontal, vertical);
}

void MRender::AddRoundedRectangle(Gdiplus::GraphicsPath* path, float x, float y, float width, float height,
                                  float radius) {
    if (path) {
        AddRoundedOutline(*path, x, y, width, height, radius, radius);
    }
}

void MRender::DrawRoundRectange(Gdiplus::Graphics* graphics, float x, float y, float width, float height, float radius,
                                Gdiplus::Color color) {
    if (!graphics) {
        return;
    }
    Gdiplus::GraphicsPath path;
    AddRoundedOutline(path, x, y, width, height, radius, radius);
    Gdiplus::SolidBrush brush(color);
    graphics->FillPath(&brush, &path);
}

void MRender::DrawRoundRectange(Gdiplus::Graphics* graphics, float x, float y, float width, float height, float divisor,
                                Gdiplus::Color penColor, float penWidth, bool fill, Gdiplus::Color fillColor) {
    if (!graphics) {
        return;
    }
    const CornerRadii radii = RoundedCornerRadii(width, height, divisor);
    Gdiplus::GraphicsPath path;
    AddRoundedOutline(path, x, y, width, height, radii.x, radii.y);
    if (fill) {
        Gdiplus::SolidBrush brush(fillColor);
        graphics->FillPath(&brush, &path);
    }
    Gdiplus::Pen pen(penColor, penWidth);
    graphics->DrawPath(&pen, &path);
}

void MRender::RotatePoint(Gdiplus::PointF& point, float degrees, Gdiplus::PointF center) {
    RotateAbout(point.X, point.Y, degrees, center.X, center.Y);
}

void MRender::CheckAlphaColor(DWORD& color) { color = LiftPureBlack(color); }

}  // namespace Orvik
