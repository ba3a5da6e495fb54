#pragma once

#include <windows.h>

#include "controls/mcontrol_font.h"

// Controls for tests and benchmarks, drawn the way the library's controls draw:
// into their kept surface when it is stale, then copied into the paint.

// A strip frame under the control's title.
class StripLabel : public Orvik::MControlFont {
public:
    StripLabel(Orvik::MObject* owner, unsigned id, Orvik::CRect rect, const wchar_t* title);
    void DrawControl(HDC& dc, Orvik::CRect clip) override;
    void ShowFrame(int frame) { frame_ = frame; }
    int Renders() const { return renders_; }

private:
    int frame_ = 0;
    int renders_ = 0;
};

// Writes one exact 0xAARRGGBB value over its rectangle of the paint's 32-bit image,
// as no GDI call can (GDI leaves alpha at 0).
class ArgbBlock : public Orvik::MControl {
public:
    ArgbBlock(Orvik::MObject* owner, unsigned id, Orvik::CRect rect, DWORD argb);
    void DrawControl(HDC& dc, Orvik::CRect clip) override;
    void SetArgb(DWORD argb) { argb_ = argb; }

private:
    DWORD argb_;
};

// Fills its rectangle through GDI with an RGB colour; records the calls it sees.
class GdiBlock : public Orvik::MControl {
public:
    GdiBlock(Orvik::MObject* owner, unsigned id, Orvik::CRect rect, COLORREF colour);
    void DrawControl(HDC& dc, Orvik::CRect clip) override;
    int SetControlFocus(int focus) override;
    int OnControlLButtonDown(unsigned flags, Orvik::CPoint point) override;
    int OnControlLButtonDblClk(unsigned flags, Orvik::CPoint point) override;
    void SetColour(COLORREF colour) { colour_ = colour; }
    int OnControlTimer() override;
    using MControl::AddAreaControl;
    using MControl::AddControl;
    using MControl::SetAccelerator;
    using MControl::SetDblClk;
    using MControl::SetFocused;

    int renders = 0;
    int presses = 0;
    int doubleClicks = 0;
    int focusCalls = 0;
    int lastFocus = -1;
    int ticks = 0;

private:
    COLORREF colour_;
};
