#include "test_controls_win.h"

#include <gdiplus.h>

#include "core/gdi_handles.h"

using Orvik::CPoint;
using Orvik::CRect;

StripLabel::StripLabel(Orvik::MObject* owner, unsigned id, CRect rect, const wchar_t* title)
    : MControlFont(owner, id, rect, title, 1, 1, 1) {}

void StripLabel::DrawControl(HDC& dc, CRect) {
    const CRect rect = GetRect();
    const int width = rect.Width();
    const int height = rect.Height();
    if (!GetUpdate()) {
        UpdateMemDC(dc, width, height);
        ::BitBlt(MemoryDC(), 0, 0, width, height, dc, rect.left, rect.top, SRCCOPY);
        Gdiplus::Graphics graphics(MemoryDC());
        DrawStripFrame(graphics, frame_, CRect{0, 0, width, height});
        DrawTitle(graphics, Gdiplus::RectF(0, 0, static_cast<Gdiplus::REAL>(width), static_cast<Gdiplus::REAL>(height)),
                  Gdiplus::StringFormatFlagsNoWrap);
        ++renders_;
    }
    ::BitBlt(dc, rect.left, rect.top, width, height, MemoryDC(), 0, 0, SRCCOPY);
}

ArgbBlock::ArgbBlock(Orvik::MObject* owner, unsigned id, CRect rect, DWORD argb)
    : MControl(owner, id, rect, 1, 1, 1), argb_(argb) {}

void ArgbBlock::DrawControl(HDC& dc, CRect) {
    DIBSECTION section = {};
    if (::GetObjectW(::GetCurrentObject(dc, OBJ_BITMAP), sizeof(section), &section) != sizeof(section)) {
        return;
    }
    ::GdiFlush();
    auto* bits = static_cast<DWORD*>(section.dsBm.bmBits);
    const int width = section.dsBm.bmWidth;
    const int height = section.dsBm.bmHeight;
    const CRect rect = GetRect();
    for (int y = rect.top; y < rect.bottom && y < height; ++y) {
        for (int x = rect.left; x < rect.right && x < width; ++x) {
            bits[(height - 1 - y) * width + x] = argb_;
        }
    }
}

GdiBlock::GdiBlock(Orvik::MObject* owner, unsigned id, CRect rect, COLORREF colour)
    : MControl(owner, id, rect, 1, 1, 1), colour_(colour) {}

void GdiBlock::DrawControl(HDC& dc, CRect) {
    const CRect rect = GetRect();
    if (!GetUpdate()) {
        UpdateMemDC(dc, rect.Width(), rect.Height());
        const RECT all{0, 0, rect.Width(), rect.Height()};
        const Orvik::UniqueHBrush brush(::CreateSolidBrush(colour_));
        ::FillRect(MemoryDC(), &all, brush.Get());
        ++renders;
    }
    ::BitBlt(dc, rect.left, rect.top, rect.Width(), rect.Height(), MemoryDC(), 0, 0, SRCCOPY);
}

int GdiBlock::SetControlFocus(int focus) {
    ++focusCalls;
    lastFocus = focus;
    return MControl::SetControlFocus(focus);
}

int GdiBlock::OnControlLButtonDown(unsigned, CPoint) {
    ++presses;
    return 1;
}

int GdiBlock::OnControlLButtonDblClk(unsigned, CPoint) {
    ++doubleClicks;
    return 1;
}

int GdiBlock::OnControlTimer() {
    ++ticks;
    return 0;
}
