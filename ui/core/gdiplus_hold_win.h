#pragma once

#include <windows.h>

#include "core/orvik_api.h"

namespace Orvik {

// A GDI+ start-up of the library's own. GDI+ counts its start-ups and shuts down at
// the last matching shutdown, so an object holding one keeps GDI+ alive for the
// GDI+ objects it owns even when the program shuts its own start-up down first.
class ORVIK_API GdiplusHold {
public:
    GdiplusHold();
    ~GdiplusHold();
    GdiplusHold(const GdiplusHold&) = delete;
    GdiplusHold& operator=(const GdiplusHold&) = delete;

    // How many holds of this process have started GDI+ and not yet shut it down.
    static int Holders();

private:
    ULONG_PTR token_ = 0;
    bool started_ = false;
};

}  // namespace Orvik
