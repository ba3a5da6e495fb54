#include "update/download_progress.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Thermolyx::DownloadProgress;

// Drives one download the way the fetcher does: open, length, `reads` reads, finish.
std::vector<std::int32_t> Download(std::int32_t& lastProgress, std::uint32_t contentLength, int reads,
                                   bool window = true) {
    std::vector<std::int32_t> posted;
    std::function<void(std::int32_t)> post;
    if (window) {
        post = [&posted](std::int32_t value) { posted.push_back(value); };
    }
    DownloadProgress progress(lastProgress, post);
    progress.Started();
    progress.RootOpened();
    progress.UrlOpened();
    progress.LengthKnown(contentLength);
    for (int i = 0; i < reads; ++i) {
        progress.ChunkRead();
    }
    progress.Finished();
    return posted;
}

using Values = std::vector<std::int32_t>;

TEST(DownloadProgress, ThreeReadsOf25000BytesStopAtOneHundred) {
    std::int32_t last = 0;
    // The third read counts 145; the window is told 100 once.
    EXPECT_EQ(Download(last, 25000, 3), (Values{2, 8, 10, 55, 100}));
    EXPECT_EQ(last, 100);
}

TEST(DownloadProgress, ShortReadsNeverPostMoreThanOneHundred) {
    // A server that sends its announced length in small pieces: each read still counts
    // 90. Unclamped, 20480 bytes in 1-byte reads would post 55, 100, 145 ... up to
    // 921,610, passing 513 and 517, which the tray handler takes for mouse messages.
    for (const int reads : {3, 6, 20480}) {
        std::int32_t last = 0;
        const Values posted = Download(last, 20480, reads);
        EXPECT_EQ(posted, (Values{2, 8, 10, 55, 100})) << reads;
    }
}

TEST(DownloadProgress, ASecondDownloadOnTheSameFetcherStartsAtZero) {
    std::int32_t last = 0;
    Download(last, 25000, 3);
    EXPECT_EQ(Download(last, 25000, 3), (Values{0, 2, 8, 10, 55, 100}));
}

TEST(DownloadProgress, ValuesEqualToTheLastPostedAreNotPostedAgain) {
    struct Case {
        std::uint32_t contentLength;
        int reads;
        Values expected;
    };
    const Case cases[] = {
        {0, 0, {2, 8, 10, 100}},            // empty body
        {10239, 1, {2, 8, 10, 100}},        // under one read: no per-read values
        {10240, 1, {2, 8, 10, 100}},        // one read reaches 100 itself, then 100 is not repeated
        {20480, 2, {2, 8, 10, 55, 100}},    // 55, then 100 twice
        {1000000, 2, {2, 8, 10, 11, 100}},  // 97 reads: 90/97+10 stays at 10, 180/97+10 is 11
    };
    for (const Case& c : cases) {
        std::int32_t last = 0;
        EXPECT_EQ(Download(last, c.contentLength, c.reads), c.expected) << c.contentLength;
    }
}

TEST(DownloadProgress, WithoutAWindowNothingIsPostedAndTheLastValueStays) {
    std::int32_t last = 55;
    EXPECT_TRUE(Download(last, 25000, 3, false).empty());
    EXPECT_EQ(last, 55);
}

}  // namespace
