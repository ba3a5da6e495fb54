#pragma once

#include <windows.h>
#include <gdiplus.h>

#include <string>

#include "core/font_store.h"
#include "core/orvik_api.h"

namespace Orvik {

// Paints a dialog and its controls; every dialog embeds one. So far it holds the
// dialog's private fonts.
class ORVIK_API PaintManager {
public:
    PaintManager();
    ~PaintManager();
    PaintManager(const PaintManager&) = delete;
    PaintManager& operator=(const PaintManager&) = delete;

    void AddGDITempFont(unsigned resourceId);
    Gdiplus::FontFamily* AddTempFont(const std::wstring& faceName, const std::wstring& path);
    Gdiplus::FontFamily* AddTempFont(const std::wstring& faceName, unsigned resourceId);
    Gdiplus::FontFamily* FindTempFont(const std::wstring& faceName);
    void ClearTempFont();

private:
    FontStore fonts_;
};

}  // namespace Orvik
