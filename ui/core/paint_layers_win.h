#pragma once

#include <windows.h>
#include <gdiplus.h>

#include "core/message_panel.h"

namespace Orvik {

// The layers a paint manager draws itself, in the order of a paint.

// The plain background: a one-pixel border of `border` around `fill` (COLORREFs),
// both at alpha 254 so the fix-up of zero alphas leaves them alone.
void PaintTwoColourFrame(Gdiplus::Graphics& graphics, int width, int height, COLORREF fill, COLORREF border);

// The two readings of the readings store in 50-pixel bold text, and the outline of
// the hover zone while `cursor` (client coordinates) is inside it. Without a family
// the numbers are left out.
void DrawReadingsOverlay(Gdiplus::Graphics& graphics, const Gdiplus::FontFamily* family, int clientWidth,
                         POINT cursor);

// The message panel at its alpha, with its progress bar once progress has begun.
// Without a family the text is left out.
void DrawMessagePanel(Gdiplus::Graphics& graphics, const Gdiplus::FontFamily* family, const MessagePanel& panel);

}  // namespace Orvik
