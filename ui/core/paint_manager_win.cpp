#include "core/paint_manager.h"

namespace Orvik {

PaintManager::PaintManager() = default;
PaintManager::~PaintManager() = default;

void PaintManager::AddGDITempFont(unsigned resourceId) { fonts_.AddGDITempFont(resourceId); }

Gdiplus::FontFamily* PaintManager::AddTempFont(const std::wstring& faceName, const std::wstring& path) {
    return fonts_.AddTempFont(faceName, path);
}

Gdiplus::FontFamily* PaintManager::AddTempFont(const std::wstring& faceName, unsigned resourceId) {
    return fonts_.AddTempFont(faceName, resourceId);
}

Gdiplus::FontFamily* PaintManager::FindTempFont(const std::wstring& faceName) { return fonts_.FindTempFont(faceName); }

void PaintManager::ClearTempFont() { fonts_.ClearTempFont(); }

ImgResInfo* PaintManager::AddImgResInfo(const wchar_t* fileName, int frames) {
    return images_.AddImgResInfo(fileName, frames);
}

ImgResInfo* PaintManager::AddImgResInfo(UINT id, const std::wstring& type, int frames, int programFlag) {
    return images_.AddImgResInfo(id, type, frames, programFlag);
}

void PaintManager::ClearImgResInfo() { images_.ClearImgResInfo(); }

}  // namespace Orvik
