// The library's own handle owners: each closes exactly what it holds, once, and
// leaves the caller's last error alone.
#include "core/win_handles.h"

#include <gtest/gtest.h>

namespace {

TEST(WinHandles, HandleIsClosedWithItsOwnerAndTheLastErrorStays) {
    HANDLE event = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ASSERT_NE(event, nullptr);
    {
        Orvik::UniqueHandle owner(event);
        Orvik::UniqueHandle moved(std::move(owner));
        EXPECT_FALSE(owner.IsValid());
        ::SetLastError(ERROR_FILE_NOT_FOUND);
    }
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    DWORD flags = 0;
    EXPECT_FALSE(::GetHandleInformation(event, &flags));
}

TEST(WinHandles, FileHandleTakesInvalidHandleValueAsEmpty) {
    const Orvik::UniqueFileHandle failed(::CreateFileW(L"C:\\no such folder\\file", GENERIC_READ, 0, nullptr,
                                                       OPEN_EXISTING, 0, nullptr));
    EXPECT_FALSE(failed.IsValid());
    EXPECT_EQ(failed.Get(), INVALID_HANDLE_VALUE);

    wchar_t folder[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, folder);
    const std::wstring path = std::wstring(folder) + L"win_handles_test_" + std::to_wstring(::GetCurrentProcessId());
    {
        const Orvik::UniqueFileHandle exclusive(
            ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_FLAG_DELETE_ON_CLOSE, nullptr));
        ASSERT_TRUE(exclusive.IsValid());
        EXPECT_NE(::GetFileAttributesW(path.c_str()), INVALID_FILE_ATTRIBUTES);
    }
    // Closing deleted it: the owner really closed the handle.
    EXPECT_EQ(::GetFileAttributesW(path.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(WinHandles, MappedViewIsUnmappedWithItsOwner) {
    const Orvik::UniqueHandle mapping(::CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 4096, nullptr));
    ASSERT_TRUE(mapping);
    const void* address = nullptr;
    {
        const Orvik::UniqueMappedView view(::MapViewOfFile(mapping.Get(), FILE_MAP_READ, 0, 0, 4096));
        ASSERT_TRUE(view);
        address = view.Get();
        MEMORY_BASIC_INFORMATION info = {};
        ASSERT_NE(::VirtualQuery(address, &info, sizeof(info)), 0u);
        EXPECT_EQ(info.State, static_cast<DWORD>(MEM_COMMIT));
    }
    MEMORY_BASIC_INFORMATION info = {};
    ASSERT_NE(::VirtualQuery(address, &info, sizeof(info)), 0u);
    EXPECT_EQ(info.State, static_cast<DWORD>(MEM_FREE));
}

TEST(WinHandles, SelectionIsUndoneWithItsGuard) {
    const Orvik::UniqueHDC dc(::CreateCompatibleDC(nullptr));
    ASSERT_TRUE(dc);
    const HGDIOBJ original = ::GetCurrentObject(dc.Get(), OBJ_BITMAP);
    const Orvik::UniqueHBitmap bitmap(::CreateCompatibleBitmap(dc.Get(), 4, 4));
    ASSERT_TRUE(bitmap);
    {
        const Orvik::UniqueSelectObject selection = Orvik::SelectInto(dc.Get(), bitmap.Get());
        ASSERT_TRUE(selection);
        EXPECT_EQ(::GetCurrentObject(dc.Get(), OBJ_BITMAP), bitmap.Get());
    }
    EXPECT_EQ(::GetCurrentObject(dc.Get(), OBJ_BITMAP), original);
    EXPECT_FALSE(Orvik::SelectInto(dc.Get(), nullptr));  // a failed selection guards nothing
}

}  // namespace
