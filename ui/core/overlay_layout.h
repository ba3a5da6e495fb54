#pragma once

#include <string>

#include "core/rect.h"

namespace Orvik {

// Where the readings overlay puts its two numbers (50-pixel text centred in each
// box), from half the client width, truncated.
CRect TemperatureBox(int clientWidth);
CRect PowerBox(int clientWidth);

// While the pointer is inside this zone the overlay outlines it (x 275, y 10,
// 18 x 17; a pen outline covers its right and bottom edges too).
inline constexpr CRect kHoverZone{275, 10, 293, 27};

// A reading as the overlay shows it: the float without its fraction ("45" for 45.9,
// "0" for -0.5); NaN shows 0 and values beyond the int range saturate.
std::wstring ReadingText(float reading);

// The message panel inside its rectangle (L, T, Rt, B).
struct MessagePanelLayout {
    CRect frame;        // filled with the border colour
    CRect inside;       // 2 pixels in, filled with the panel colour
    CRect textBox;      // text alone (no progress yet)
    CRect captionBox;   // text above a progress bar
    CPoint trackFrom;   // the bar's track line
    CPoint trackTo;
    CRect bar;          // the done part; empty at progress 0
};
MessagePanelLayout LayOutMessagePanel(CRect panel, int progress);

// A progress panel without a rectangle of its own: 58 pixels high, above the
// client area's bottom 2 pixels.
CRect DefaultProgressRect(CRect client);

}  // namespace Orvik
