#include "render/image_cache.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <thread>
#include <vector>

#include "core/manager.h"
#include "core/paint_manager.h"
#include "image_fixtures_win.h"
#include "skin_file_win.h"

namespace {

using Orvik::ImageCache;
using Orvik::ImgResInfo;

// Controls read these fields in place.
static_assert(offsetof(ImgResInfo, image) == 0);
static_assert(offsetof(ImgResInfo, frameWidth) == sizeof(void*));
static_assert(offsetof(ImgResInfo, height) == sizeof(void*) + 4);
static_assert(offsetof(ImgResInfo, frames) == sizeof(void*) + 8);

TEST(ImgResInfo, NewRecordIsEmpty) {
    const ImgResInfo info;
    EXPECT_EQ(info.image, nullptr);
    EXPECT_EQ(info.frameWidth, 0);
    EXPECT_EQ(info.height, 0);
    EXPECT_EQ(info.frames, 0);
    EXPECT_TRUE(info.name.empty());
    EXPECT_EQ(info.resourceId, 0u);
}

TEST(ImageCacheFiles, FirstFrameCountWinsAndTheRecordIsShared) {
    SkinFile file(L"img_cache_button");
    ASSERT_TRUE(file.Write(40, 10));
    ImageCache cache;
    ImgResInfo* first = cache.AddImgResInfo(file.Name().c_str(), 4);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(first->image, nullptr);
    EXPECT_EQ(first->frameWidth, 10);
    EXPECT_EQ(first->height, 10);
    EXPECT_EQ(first->frames, 4);
    EXPECT_EQ(first->name, file.Name());
    EXPECT_EQ(first->resourceId, 0u);

    ImgResInfo* second = cache.AddImgResInfo(file.Name().c_str(), 2);
    EXPECT_EQ(second, first);
    EXPECT_EQ(second->frames, 4);
    EXPECT_EQ(second->frameWidth, 10);
}

TEST(PaintManagerImages, EachPaintManagerKeepsItsOwnCache) {
    SkinFile file(L"img_cache_dialogs");
    ASSERT_TRUE(file.Write(40, 10));
    Orvik::PaintManager first;
    Orvik::PaintManager second;
    ImgResInfo* ofFirst = first.AddImgResInfo(file.Name().c_str(), 4);
    ImgResInfo* ofSecond = second.AddImgResInfo(file.Name().c_str(), 2);
    ASSERT_NE(ofFirst, nullptr);
    ASSERT_NE(ofSecond, nullptr);
    EXPECT_NE(ofFirst, ofSecond);
    EXPECT_EQ(ofSecond->frames, 2);
    EXPECT_EQ(first.AddImgResInfo(file.Name().c_str(), 1), ofFirst);

    // After a clear the next request decodes anew, with its own frame count.
    first.ClearImgResInfo();
    ImgResInfo* again = first.AddImgResInfo(file.Name().c_str(), 1);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->frames, 1);
    EXPECT_EQ(second.AddImgResInfo(file.Name().c_str(), 5), ofSecond);
}

TEST(ImageCacheFiles, FrameWidthIsTruncated) {
    SkinFile file(L"img_cache_odd");
    ASSERT_TRUE(file.Write(41, 7));
    ImageCache cache;
    ImgResInfo* info = cache.AddImgResInfo(file.Name().c_str(), 4);
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->frameWidth, 10);
    EXPECT_EQ(info->height, 7);
}

TEST(ImageCacheFiles, MissingFileIsNotCachedAndLoadsOnceItAppears) {
    SkinFile file(L"img_cache_late");
    ImageCache cache;
    EXPECT_EQ(cache.AddImgResInfo(file.Name().c_str(), 1), nullptr);
    EXPECT_EQ(cache.AddImgResInfo(file.Name().c_str(), 1), nullptr);
    ASSERT_TRUE(file.Write(6, 3));
    ImgResInfo* info = cache.AddImgResInfo(file.Name().c_str(), 3);
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->frames, 3);
    EXPECT_EQ(info->frameWidth, 2);
}

TEST(ImageCacheFiles, NamesAreKeysExactlyAsGiven) {
    SkinFile file(L"img_cache_case");
    ASSERT_TRUE(file.Write(8, 8));
    ImageCache cache;
    std::wstring upper = file.Name();
    for (wchar_t& c : upper) {
        c = static_cast<wchar_t>(::towupper(c));
    }
    ImgResInfo* asGiven = cache.AddImgResInfo(file.Name().c_str(), 1);
    ImgResInfo* otherCase = cache.AddImgResInfo(upper.c_str(), 2);  // the same file on disk
    ASSERT_NE(asGiven, nullptr);
    ASSERT_NE(otherCase, nullptr);
    EXPECT_NE(asGiven, otherCase);
    EXPECT_EQ(otherCase->frames, 2);
    EXPECT_EQ(otherCase->name, upper);
}

TEST(ImageCacheFiles, ChangedFileIsNotReadAgainUntilCleared) {
    SkinFile file(L"img_cache_changing");
    ASSERT_TRUE(file.Write(10, 10));
    ImageCache cache;
    ImgResInfo* before = cache.AddImgResInfo(file.Name().c_str(), 1);
    ASSERT_NE(before, nullptr);
    // The loaded image may hold the file open; replace it through a fresh cache's
    // eyes only after clearing.
    cache.ClearImgResInfo();
    ASSERT_TRUE(file.Write(20, 5));
    ImgResInfo* after = cache.AddImgResInfo(file.Name().c_str(), 1);
    ASSERT_NE(after, nullptr);
    EXPECT_EQ(after->frameWidth, 20);
    EXPECT_EQ(after->height, 5);
    EXPECT_EQ(cache.AddImgResInfo(file.Name().c_str(), 5), after);
}

TEST(ImageCacheFiles, FewerThanOneFrameIsRefused) {
    SkinFile file(L"img_cache_frames");
    ASSERT_TRUE(file.Write(8, 8));
    ImageCache cache;
    EXPECT_EQ(cache.AddImgResInfo(file.Name().c_str(), 0), nullptr);
    EXPECT_EQ(cache.AddImgResInfo(file.Name().c_str(), -2), nullptr);
    EXPECT_EQ(cache.AddImgResInfo(nullptr, 1), nullptr);
    // Nothing was kept: a proper request makes the record with its own count.
    ImgResInfo* info = cache.AddImgResInfo(file.Name().c_str(), 2);
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->frames, 2);
}

TEST(ImageCacheFiles, ConcurrentRequestsShareOneRecord) {
    SkinFile file(L"img_cache_threads");
    ASSERT_TRUE(file.Write(16, 4));
    ImageCache cache;
    std::vector<ImgResInfo*> results(8, nullptr);
    std::vector<std::thread> threads;
    for (std::size_t i = 0; i < results.size(); ++i) {
        threads.emplace_back(
            [&, i] { results[i] = cache.AddImgResInfo(file.Name().c_str(), static_cast<int>(i) + 1); });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    ASSERT_NE(results[0], nullptr);
    for (ImgResInfo* result : results) {
        EXPECT_EQ(result, results[0]);
    }
    EXPECT_EQ(results[0]->frameWidth, 16 / results[0]->frames);
}

TEST(ImageCacheResources, ProgramAndLibraryNumbersAreKeptApart) {
    ImageCache cache;
    ImgResInfo* program = cache.AddImgResInfo(101, L"PNG", 2, 1);
    ASSERT_NE(program, nullptr);
    EXPECT_EQ(program->frameWidth, 6);  // the test program's own 12 x 6 image
    EXPECT_EQ(program->height, 6);
    EXPECT_EQ(program->frames, 2);
    EXPECT_EQ(program->resourceId, 101u);
    EXPECT_TRUE(program->name.empty());

    // The library's 101 is its own scroll-bar image, never the program's record.
    ImgResInfo* library = cache.AddImgResInfo(101, L"PNG", 1, 0);
    ASSERT_NE(library, nullptr);
    EXPECT_NE(library, program);
    EXPECT_NE(library->image, program->image);
    EXPECT_EQ(library->frames, 1);
    // And the program's number stays the program's after the library was asked.
    EXPECT_EQ(cache.AddImgResInfo(101, L"PNG", 7, 3), program);
}

TEST(ImageCacheResources, NumberAloneIsTheKey) {
    ImageCache cache;
    ImgResInfo* first = cache.AddImgResInfo(4242, L"PNG", 1, 1);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->frameWidth, 9);
    EXPECT_EQ(cache.AddImgResInfo(4242, L"OTHER", 3, 1), first);
}

TEST(ImageCacheResources, MissingResourceIsNotCachedInEitherModule) {
    ImageCache cache;
    // 4242 exists only in the program: the library module does not have it.
    EXPECT_EQ(cache.AddImgResInfo(4242, L"PNG", 1, 0), nullptr);
    EXPECT_EQ(cache.AddImgResInfo(999, L"PNG", 1, 1), nullptr);
    EXPECT_NE(cache.AddImgResInfo(4242, L"PNG", 1, 1), nullptr);
}

TEST(ImageCacheResources, ClearEmptiesEveryMap) {
    SkinFile file(L"img_cache_clear");
    ASSERT_TRUE(file.Write(4, 4));
    ImageCache cache;
    ASSERT_NE(cache.AddImgResInfo(file.Name().c_str(), 1), nullptr);
    ASSERT_NE(cache.AddImgResInfo(4242, L"PNG", 1, 1), nullptr);
    cache.ClearImgResInfo();
    // New records take the new frame counts: the old ones are gone.
    EXPECT_EQ(cache.AddImgResInfo(file.Name().c_str(), 2)->frames, 2);
    EXPECT_EQ(cache.AddImgResInfo(4242, L"PNG", 3, 1)->frames, 3);
}

}  // namespace
