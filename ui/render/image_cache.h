#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "core/orvik_api.h"
#include "render/img_res_info.h"

namespace Orvik {

// The images of one paint manager's controls, decoded once per file name or
// resource number and shared. Records and their images live until ClearImgResInfo
// (or the cache's end). Every call holds the image lock throughout.
class ORVIK_API ImageCache {
public:
    ImageCache();
    ~ImageCache();
    ImageCache(const ImageCache&) = delete;
    ImageCache& operator=(const ImageCache&) = delete;

    // The record of the skin folder's file `fileName` (the name as given is the
    // key, compared exactly). A later request with another frame count gets the
    // first record unchanged. Null when the file does not load; nothing is kept
    // then, so the next request tries again.
    ImgResInfo* AddImgResInfo(const wchar_t* fileName, int frames);
    // The same for resource `id` of `type`, from the program's module when
    // `programFlag` is non-zero, else from the library's. The number alone is the
    // key; the two modules' numbers are kept apart.
    ImgResInfo* AddImgResInfo(UINT id, const std::wstring& type, int frames, int programFlag);
    // Deletes every record with its image.
    void ClearImgResInfo();

private:
    // A record and the image it owns.
    struct Entry {
        ImgResInfo info;
        ~Entry();
    };
    template <typename Key>
    using EntryMap = std::map<Key, std::unique_ptr<Entry>>;

    // Fills in the sizes of a record whose image has loaded and keeps it under `key`.
    template <typename Key>
    static ImgResInfo* Keep(EntryMap<Key>& map, const Key& key, std::unique_ptr<Entry> entry);

    std::mutex lock_;  // the image lock
    EntryMap<std::wstring> files_;
    EntryMap<UINT> programResources_;
    EntryMap<UINT> libraryResources_;
};

}  // namespace Orvik
