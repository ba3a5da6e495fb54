#include "core/paint_layers_win.h"

#include "core/manager.h"
#include "core/overlay_layout.h"

namespace Orvik {

namespace {

constexpr BYTE kBackgroundAlpha = 254;
constexpr Gdiplus::ARGB kReadingColour = 0xFFFBFBFB;
constexpr Gdiplus::ARGB kHoverColour = 0xFFC8C8C8;
constexpr Gdiplus::ARGB kTrackColour = 0xC8C8C8C8;
constexpr Gdiplus::ARGB kBarColour = 0xFEFFE100;
constexpr float kReadingSize = 50.0f;
constexpr float kMessageSize = 12.0f;

Gdiplus::Color FromColorref(BYTE alpha, COLORREF colour) {
    return Gdiplus::Color(alpha, GetRValue(colour), GetGValue(colour), GetBValue(colour));
}

Gdiplus::Color WithAlpha(int alpha, Gdiplus::ARGB rgb) {
    return Gdiplus::Color((static_cast<Gdiplus::ARGB>(alpha & 0xFF) << 24) | (rgb & 0x00FFFFFF));
}

Gdiplus::RectF ToRectF(const CRect& rect) {
    return Gdiplus::RectF(static_cast<Gdiplus::REAL>(rect.left), static_cast<Gdiplus::REAL>(rect.top),
                          static_cast<Gdiplus::REAL>(rect.Width()), static_cast<Gdiplus::REAL>(rect.Height()));
}

void Fill(Gdiplus::Graphics& graphics, Gdiplus::Color colour, const CRect& rect) {
    const Gdiplus::SolidBrush brush(colour);
    graphics.FillRectangle(&brush, rect.left, rect.top, rect.Width(), rect.Height());
}

void DrawText(Gdiplus::Graphics& graphics, const std::wstring& text, const Gdiplus::Font& font,
              const CRect& box, const Gdiplus::StringFormat& format, Gdiplus::Color colour) {
    const Gdiplus::SolidBrush brush(colour);
    graphics.DrawString(text.c_str(), static_cast<INT>(text.size()), &font, ToRectF(box), &format, &brush);
}

}  // namespace

void PaintTwoColourFrame(Gdiplus::Graphics& graphics, int width, int height, COLORREF fill, COLORREF border) {
    Fill(graphics, FromColorref(kBackgroundAlpha, border), CRect{0, 0, width, height});
    Fill(graphics, FromColorref(kBackgroundAlpha, fill), CRect{1, 1, width - 1, height - 1});
}

void DrawReadingsOverlay(Gdiplus::Graphics& graphics, const Gdiplus::FontFamily* family, int clientWidth,
                         POINT cursor) {
    const CRect& zone = kHoverZone;
    if (cursor.x >= zone.left && cursor.x < zone.right && cursor.y >= zone.top && cursor.y < zone.bottom) {
        const Gdiplus::Pen pen(Gdiplus::Color(kHoverColour), 1.0f);
        graphics.DrawRectangle(&pen, zone.left, zone.top, zone.Width(), zone.Height());
    }
    if (family == nullptr) {
        return;
    }
    const Gdiplus::Font font(family, kReadingSize, Gdiplus::FontStyleBold, Gdiplus::UnitPixel);
    graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintClearTypeGridFit);
    Gdiplus::StringFormat format;
    format.SetAlignment(Gdiplus::StringAlignmentCenter);
    format.SetLineAlignment(Gdiplus::StringAlignmentCenter);
    format.SetFormatFlags(Gdiplus::StringFormatFlagsNoWrap | Gdiplus::StringFormatFlagsMeasureTrailingSpaces);
    // Each reading is one whole float, written by the program's worker thread.
    DrawText(graphics, ReadingText(Manager::GetCPUTemp()), font, TemperatureBox(clientWidth), format,
             Gdiplus::Color(kReadingColour));
    DrawText(graphics, ReadingText(Manager::GetCPUPower()), font, PowerBox(clientWidth), format,
             Gdiplus::Color(kReadingColour));
}

void DrawMessagePanel(Gdiplus::Graphics& graphics, const Gdiplus::FontFamily* family, const MessagePanel& panel) {
    const int alpha = panel.Alpha();
    const MessagePanelLayout layout = LayOutMessagePanel(panel.Rect(), panel.Progress());
    Fill(graphics, WithAlpha(alpha, 0xE6E6E6), layout.frame);
    Fill(graphics, WithAlpha(alpha, 0xFEFEFE), layout.inside);

    Gdiplus::StringFormat format;
    format.SetAlignment(Gdiplus::StringAlignmentNear);
    format.SetLineAlignment(Gdiplus::StringAlignmentCenter);
    const bool progressing = panel.Progress() >= 1;
    if (family != nullptr) {
        const Gdiplus::Font font(family, kMessageSize, Gdiplus::FontStyleRegular, Gdiplus::UnitPixel);
        graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintClearTypeGridFit);
        if (progressing) {
            format.SetAlignment(Gdiplus::StringAlignmentCenter);
        }
        DrawText(graphics, panel.Text(), font, progressing ? layout.captionBox : layout.textBox, format,
                 WithAlpha(alpha, 0x050505));
    }
    if (!progressing) {
        return;
    }
    const Gdiplus::Pen track(Gdiplus::Color(kTrackColour), 1.0f);
    graphics.DrawLine(&track, layout.trackFrom.x, layout.trackFrom.y, layout.trackTo.x, layout.trackTo.y);
    if (!layout.bar.IsEmpty()) {
        Fill(graphics, Gdiplus::Color(kBarColour), layout.bar);
    }
}

}  // namespace Orvik
