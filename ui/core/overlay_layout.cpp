#include "core/overlay_layout.h"

#include "core/geometry.h"

namespace Orvik {

namespace {

CRect Box(int x, int y, int width, int height) { return CRect{x, y, x + width, y + height}; }

}  // namespace

CRect TemperatureBox(int clientWidth) { return Box(clientWidth / 2 - 155, 85, 120, 60); }

CRect PowerBox(int clientWidth) { return Box(clientWidth / 2 + 35, 85, 150, 60); }

std::wstring ReadingText(float reading) { return std::to_wstring(TruncateTowardZero(reading)); }

MessagePanelLayout LayOutMessagePanel(CRect panel, int progress) {
    const int width = panel.Width();
    const int height = panel.Height();
    MessagePanelLayout layout;
    layout.frame = panel;
    layout.inside = Box(panel.left + 2, panel.top + 2, width - 4, height - 4);
    layout.textBox = Box(panel.left + 5, panel.top + 5, 190, 50);
    layout.captionBox = Box(panel.left + 5, panel.top + 5, width - 10, 30);
    layout.trackFrom = CPoint{panel.left + 10, panel.bottom - 15};
    layout.trackTo = CPoint{panel.right - 20, panel.bottom - 15};
    if (progress != 0) {
        layout.bar = Box(panel.left + 10, panel.bottom - 16, ((width - 20) * progress) / 100, 3);
    }
    return layout;
}

CRect DefaultProgressRect(CRect client) {
    return CRect{client.left, client.bottom - 60, client.right, client.bottom - 2};
}

}  // namespace Orvik
