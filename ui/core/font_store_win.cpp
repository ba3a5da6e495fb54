#include "core/font_store.h"

#include <span>

#include "core/library_module.h"
#include "core/manager.h"

namespace Orvik {

namespace {

// The bytes of one of the library's "ttf" resources; empty when it is missing. Type
// names of resources compare without regard to case, so this finds type "TTF" too.
std::span<const std::byte> LibraryFontResource(unsigned resourceId) {
    const HMODULE module = LibraryModule();
    const HRSRC found = ::FindResourceW(module, MAKEINTRESOURCEW(resourceId & 0xFFFF), L"ttf");
    if (found == nullptr) {
        return {};
    }
    const HGLOBAL loaded = ::LoadResource(module, found);
    const void* bytes = loaded != nullptr ? ::LockResource(loaded) : nullptr;
    if (bytes == nullptr) {
        return {};
    }
    // Resources stay mapped as long as the module is loaded: nothing to free.
    return {static_cast<const std::byte*>(bytes), ::SizeofResource(module, found)};
}

}  // namespace

FontStore::~FontStore() { ClearTempFont(); }

void FontStore::AddGDITempFont(unsigned resourceId) {
    const std::span<const std::byte> font = LibraryFontResource(resourceId);
    if (font.empty()) {
        return;
    }
    DWORD fontCount = 0;
    UniqueMemoryFont added(::AddFontMemResourceEx(const_cast<std::byte*>(font.data()), static_cast<DWORD>(font.size()),
                                                  nullptr, &fontCount));
    if (added) {
        std::lock_guard<std::mutex> hold(lock_);
        memoryFonts_.push_back(std::move(added));
    }
}

Gdiplus::FontFamily* FontStore::AddTempFont(const std::wstring& faceName, const std::wstring& path) {
    Gdiplus::PrivateFontCollection collection;
    collection.AddFontFile(path.c_str());
    return KeepFirstFamily(faceName, collection);
}

Gdiplus::FontFamily* FontStore::AddTempFont(const std::wstring& faceName, unsigned resourceId) {
    const std::span<const std::byte> font = LibraryFontResource(resourceId);
    if (font.empty()) {
        return nullptr;
    }
    Gdiplus::PrivateFontCollection collection;
    collection.AddMemoryFont(font.data(), static_cast<INT>(font.size()));
    return KeepFirstFamily(faceName, collection);
}

Gdiplus::FontFamily* FontStore::KeepFirstFamily(const std::wstring& faceName,
                                                const Gdiplus::PrivateFontCollection& collection) {
    if (collection.GetFamilyCount() < 1) {
        return nullptr;
    }
    Gdiplus::FontFamily first;
    INT found = 0;
    if (collection.GetFamilies(1, &first, &found) != Gdiplus::Ok || found < 1) {
        return nullptr;
    }
    // The copy outlives the collection, which goes when the caller returns.
    std::unique_ptr<Gdiplus::FontFamily> copy(first.Clone());
    if (copy == nullptr || !copy->IsAvailable()) {
        return nullptr;
    }
    std::lock_guard<std::mutex> hold(lock_);
    std::unique_ptr<Gdiplus::FontFamily>& slot = families_[faceName];
    slot = std::move(copy);
    return slot.get();
}

Gdiplus::FontFamily* FontStore::FindTempFont(const std::wstring&) {
    // Every text of the library is drawn in the one library-wide face.
    const std::wstring face = Manager::GetFontName();
    std::lock_guard<std::mutex> hold(lock_);
    if (const auto cached = families_.find(face); cached != families_.end()) {
        return cached->second.get();
    }
    auto installed = std::make_unique<Gdiplus::FontFamily>(face.c_str());
    if (installed->GetLastStatus() != Gdiplus::Ok || !installed->IsAvailable()) {
        return nullptr;
    }
    return families_.emplace(face, std::move(installed)).first->second.get();
}

void FontStore::ClearTempFont() {
    std::lock_guard<std::mutex> hold(lock_);
    families_.clear();
    memoryFonts_.clear();
}

}  // namespace Orvik
