#pragma once

#include <cstdint>
#include <functional>

namespace Thermolyx {

// Bytes asked for per read; the progress steps count reads of this size.
inline constexpr std::uint32_t kFetchReadSize = 10240;

// The progress values one download posts to its window, in order: 0 (only after an
// earlier download left a value), 2, 8, 10, one value per read, 100. A value equal to
// the last one posted is not posted again; `lastProgress` belongs to the fetcher and
// carries over from one download to the next.
class DownloadProgress {
public:
    // `post` receives each value to post; empty when no window is given.
    DownloadProgress(std::int32_t& lastProgress, std::function<void(std::int32_t)> post);

    void Started();
    void RootOpened();
    void UrlOpened();
    // A content length below one read (or none reported) gives no per-read values.
    void LengthKnown(std::uint32_t contentLength);
    // 90 per read spread over the whole reads the content length holds; a short read
    // still counts 90, so the count can pass 100: the value posted stops at 100.
    void ChunkRead();
    void Finished();

private:
    void Post(std::int32_t value);

    std::int32_t& lastProgress_;
    std::function<void(std::int32_t)> post_;
    std::uint32_t chunks_ = 0;
    std::uint32_t total_ = 0;
};

}  // namespace Thermolyx
