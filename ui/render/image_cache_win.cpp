#include "render/image_cache.h"

#include <mutex>

#include "core/library_module.h"
#include "core/manager.h"
#include "render/mrender.h"

namespace Orvik {

ImageCache::Entry::~Entry() { delete info.image; }

ImageCache::ImageCache() = default;

ImageCache::~ImageCache() { ClearImgResInfo(); }

template <typename Key>
ImgResInfo* ImageCache::Keep(EntryMap<Key>& map, const Key& key, std::unique_ptr<Entry> entry) {
    ImgResInfo& info = entry->info;
    info.frameWidth = static_cast<int>(info.image->GetWidth()) / info.frames;
    info.height = static_cast<int>(info.image->GetHeight());
    map.emplace(key, std::move(entry));
    return &info;
}

ImgResInfo* ImageCache::AddImgResInfo(const wchar_t* fileName, int frames) {
    // No frame width exists for fewer than one frame; nothing is cached for it.
    if (!fileName || frames < 1) {
        return nullptr;
    }
    const std::lock_guard guard(lock_);
    const std::wstring name(fileName);
    if (const auto found = files_.find(name); found != files_.end()) {
        return &found->second->info;
    }
    auto entry = std::make_unique<Entry>();
    entry->info.frames = frames;
    entry->info.name = name;
    entry->info.image = MRender::LoadImageFromFile(Manager::GetSkinPath() + name);
    if (!entry->info.image) {
        return nullptr;
    }
    return Keep(files_, name, std::move(entry));
}

ImgResInfo* ImageCache::AddImgResInfo(UINT id, const std::wstring& type, int frames, int programFlag) {
    if (frames < 1) {
        return nullptr;
    }
    const std::lock_guard guard(lock_);
    EntryMap<UINT>& map = programFlag ? programResources_ : libraryResources_;
    if (const auto found = map.find(id); found != map.end()) {
        return &found->second->info;
    }
    auto entry = std::make_unique<Entry>();
    entry->info.frames = frames;
    entry->info.resourceId = id;
    entry->info.image =
        MRender::LoadImageFromIDResource(id, type, programFlag ? Manager::GetInstance() : LibraryModule());
    if (!entry->info.image) {
        return nullptr;
    }
    return Keep(map, id, std::move(entry));
}

void ImageCache::ClearImgResInfo() {
    const std::lock_guard guard(lock_);
    files_.clear();
    programResources_.clear();
    libraryResources_.clear();
}

}  // namespace Orvik
