#pragma once

#include <windows.h>
#include <gdiplus.h>

#include <string>

#include "core/font_store.h"
#include "core/orvik_api.h"
#include "render/image_cache.h"

namespace Orvik {

// Paints a dialog and its controls; every dialog embeds one. So far it holds the
// dialog's private fonts and its image cache.
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

    ImgResInfo* AddImgResInfo(const wchar_t* fileName, int frames);
    ImgResInfo* AddImgResInfo(UINT id, const std::wstring& type, int frames, int programFlag);
    void ClearImgResInfo();

private:
    FontStore fonts_;
    ImageCache images_;
};

}  // namespace Orvik
