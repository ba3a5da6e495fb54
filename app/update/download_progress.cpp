#include "update/download_progress.h"

#include <algorithm>
#include <utility>

namespace Thermolyx {

DownloadProgress::DownloadProgress(std::int32_t& lastProgress, std::function<void(std::int32_t)> post)
    : lastProgress_(lastProgress), post_(std::move(post)) {}

void DownloadProgress::Started() { Post(0); }

void DownloadProgress::RootOpened() { Post(2); }

void DownloadProgress::UrlOpened() { Post(8); }

void DownloadProgress::LengthKnown(std::uint32_t contentLength) {
    chunks_ = contentLength / kFetchReadSize;
    total_ = 0;
    Post(10);
}

void DownloadProgress::ChunkRead() {
    total_ += 90;
    if (chunks_ != 0) {
        Post(static_cast<std::int32_t>(total_ / chunks_ + 10));
    }
}

void DownloadProgress::Finished() { Post(100); }

void DownloadProgress::Post(std::int32_t value) {
    // The window takes the value for a percentage (and its tray handler must never
    // see a number that is also a mouse message), so a short read cannot push it past 100.
    value = std::clamp(value, 0, 100);
    if (!post_ || value == lastProgress_) {
        return;
    }
    lastProgress_ = value;
    post_(value);
}

}  // namespace Thermolyx
