#include "canvas_win.h"

#include "render/mrender.h"

Canvas::Canvas(int width, int height, DWORD fill)
    : width_(width),
      height_(height),
      dc_(::CreateCompatibleDC(nullptr)),
      bitmap_(Orvik::MRender::CreateARGB32Bitmap(dc_.Get(), width, height, &bits_)),
      selection_(Orvik::SelectInto(dc_.Get(), bitmap_.Get())) {
    Fill(fill);
}

DWORD Canvas::Pixel(int x, int y) const {
    Flush();
    return bits_[(height_ - 1 - y) * width_ + x];
}

void Canvas::SetPixel(int x, int y, DWORD argb) {
    Flush();
    bits_[(height_ - 1 - y) * width_ + x] = argb;
}

void Canvas::Fill(DWORD argb) {
    Flush();
    for (int i = 0; i < width_ * height_; ++i) {
        bits_[i] = argb;
    }
}

std::unique_ptr<Gdiplus::Graphics> Canvas::Graphics() const {
    auto graphics = std::make_unique<Gdiplus::Graphics>(dc_.Get());
    graphics->SetInterpolationMode(Gdiplus::InterpolationModeNearestNeighbor);
    graphics->SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
    return graphics;
}

std::unique_ptr<Canvas> ReadScreen(int x, int y, int width, int height) {
    auto canvas = std::make_unique<Canvas>(width, height);
    const Orvik::UniqueWindowDC screen = Orvik::BorrowDC(nullptr);
    ::BitBlt(canvas->DC(), 0, 0, width, height, screen.Get().dc, x, y, SRCCOPY);
    return canvas;
}
