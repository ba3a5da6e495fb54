#include "skin_file_win.h"

#include <shlobj.h>

#include "core/manager.h"
#include "image_fixtures_win.h"

SkinFile::SkinFile(const std::wstring& stem)
    : name_(stem + L"_" + std::to_wstring(::GetCurrentProcessId()) + L".png"),
      path_(Orvik::Manager::GetSkinPath() + name_) {
    ::SHCreateDirectoryExW(nullptr, Orvik::Manager::GetSkinPath().c_str(), nullptr);
}

SkinFile::~SkinFile() { ::DeleteFileW(path_.c_str()); }

bool SkinFile::Write(int width, int height) { return SaveSolidPng(path_, width, height, 0xFF00A0FF); }
