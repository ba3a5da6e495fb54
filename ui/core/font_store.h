#pragma once

#include <windows.h>
#include <gdiplus.h>

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "core/gdi_handles.h"

namespace Orvik {

// A paint manager's private fonts: GDI+ families by face name, and the fonts it added
// to the process from the library's "ttf" resources. Owns both; every operation
// runs under one lock. GDI+ must be running while families are made or released.
class FontStore {
public:
    FontStore() = default;
    ~FontStore();
    FontStore(const FontStore&) = delete;
    FontStore& operator=(const FontStore&) = delete;

    // Adds the library's "ttf" resource `resourceId` (low 16 bits) to the process as a
    // memory font and keeps its handle. Silent on failure.
    void AddGDITempFont(unsigned resourceId);
    // The first family of the font file at `path` (used as given), stored under
    // `faceName` in place of any earlier one; null when the file holds no family.
    Gdiplus::FontFamily* AddTempFont(const std::wstring& faceName, const std::wstring& path);
    // The same from the library's "ttf" resource `resourceId`.
    Gdiplus::FontFamily* AddTempFont(const std::wstring& faceName, unsigned resourceId);
    // The family of the library-wide face (Manager::GetFontName()), whatever face is
    // asked for: cached, else made from the installed fonts and cached, else null.
    Gdiplus::FontFamily* FindTempFont(const std::wstring& faceName);
    // Releases every family and takes every memory font out of the process.
    void ClearTempFont();

private:
    // Stores the first family of `collection` under `faceName`; null if it has none.
    Gdiplus::FontFamily* KeepFirstFamily(const std::wstring& faceName,
                                         const Gdiplus::PrivateFontCollection& collection);

    std::mutex lock_;
    std::map<std::wstring, std::unique_ptr<Gdiplus::FontFamily>> families_;
    std::vector<UniqueMemoryFont> memoryFonts_;
};

}  // namespace Orvik
