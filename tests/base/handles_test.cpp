// The shared Windows handle owners: each closes exactly what it holds, once, and
// leaves the caller's last error alone.
#include "base/win/handles.h"

#include <sddl.h>

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(Handles, HandleIsClosedWithItsOwnerAndTheLastErrorStays) {
    HANDLE event = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ASSERT_NE(event, nullptr);
    {
        Base::UniqueHandle owner(event);
        Base::UniqueHandle moved(std::move(owner));
        EXPECT_FALSE(owner.IsValid());
        ::SetLastError(ERROR_FILE_NOT_FOUND);
    }
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    DWORD flags = 0;
    EXPECT_FALSE(::GetHandleInformation(event, &flags));
}

TEST(Handles, FileHandleTakesInvalidHandleValueAsEmpty) {
    const Base::UniqueFileHandle failed(
        ::CreateFileW(L"C:\\no such folder\\file", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_FALSE(failed.IsValid());
    EXPECT_EQ(failed.Get(), INVALID_HANDLE_VALUE);

    wchar_t folder[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, folder);
    const std::wstring path = std::wstring(folder) + L"win_handles_test_" + std::to_wstring(::GetCurrentProcessId());
    {
        const Base::UniqueFileHandle exclusive(
            ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_FLAG_DELETE_ON_CLOSE, nullptr));
        ASSERT_TRUE(exclusive.IsValid());
        EXPECT_NE(::GetFileAttributesW(path.c_str()), INVALID_FILE_ATTRIBUTES);
    }
    // Closing deleted it: the owner really closed the handle.
    EXPECT_EQ(::GetFileAttributesW(path.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(Handles, MappedViewIsUnmappedWithItsOwner) {
    const Base::UniqueHandle mapping(
        ::CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 4096, nullptr));
    ASSERT_TRUE(mapping);
    const void* address = nullptr;
    {
        const Base::UniqueMappedView view(::MapViewOfFile(mapping.Get(), FILE_MAP_READ, 0, 0, 4096));
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

TEST(Handles, FindHandleTakesInvalidHandleValueAsEmptyAndKeepsTheLastError) {
    WIN32_FIND_DATAW found = {};
    const Base::UniqueFindHandle missing(::FindFirstFileW(L"C:\\no such folder\\*", &found));
    EXPECT_FALSE(missing.IsValid());
    EXPECT_EQ(missing.Get(), INVALID_HANDLE_VALUE);

    wchar_t folder[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, folder);
    {
        Base::UniqueFindHandle search(::FindFirstFileW((std::wstring(folder) + L"*").c_str(), &found));
        ASSERT_TRUE(search.IsValid());
        EXPECT_TRUE(::FindNextFileW(search.Get(), &found));  // "." then "..": two entries at least
        const Base::UniqueFindHandle moved(std::move(search));
        EXPECT_FALSE(search.IsValid());
        ::SetLastError(ERROR_FILE_NOT_FOUND);
    }
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST(Handles, LocalMemoryOwnerHandsOverWithTakeAndKeepsTheLastError) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ASSERT_TRUE(::ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:(A;;FA;;;WD)", SDDL_REVISION_1, &descriptor,
                                                                       nullptr));
    Base::UniqueLocalMemory owner(descriptor);
    EXPECT_TRUE(::IsValidSecurityDescriptor(owner.Get()));
    void* taken = owner.Take();
    EXPECT_EQ(taken, descriptor);
    EXPECT_FALSE(owner.IsValid());
    {
        const Base::UniqueLocalMemory again(taken);
        ::SetLastError(ERROR_ACCESS_DENIED);
    }
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
}

TEST(Handles, RegistryKeyIsClosedWithItsOwner) {
    HKEY key = nullptr;
    ASSERT_EQ(::RegOpenKeyExW(HKEY_CURRENT_USER, L"Software", 0, KEY_READ, &key), ERROR_SUCCESS);
    {
        Base::UniqueRegistryKey owner(key);
        DWORD subKeys = 0;
        EXPECT_EQ(::RegQueryInfoKeyW(owner.Get(), nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, nullptr,
                                     nullptr, nullptr, nullptr, nullptr),
                  ERROR_SUCCESS);
    }
    EXPECT_EQ(::RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                 nullptr, nullptr),
              ERROR_INVALID_HANDLE);
}

class Counted : public IUnknown {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
    ULONG STDMETHODCALLTYPE Release() override { return --references; }
    ULONG references = 1;
};

TEST(Handles, ComPointerReleasesOnceAndKeepsTheLastError) {
    Counted object;
    {
        Base::UniqueComPtr<Counted> owner(&object);
        Base::UniqueComPtr<Counted> moved(std::move(owner));
        ::SetLastError(ERROR_ACCESS_DENIED);
    }
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_EQ(object.references, 0u);
}

TEST(Handles, ModuleIsUnloadedWithItsOwner) {
    ASSERT_EQ(::GetModuleHandleW(L"base_probe_module.dll"), nullptr);
    {
        Base::UniqueModule module(::LoadLibraryW(L"base_probe_module.dll"));
        ASSERT_TRUE(module);
        EXPECT_EQ(::GetModuleHandleW(L"base_probe_module.dll"), module.Get());
    }
    EXPECT_EQ(::GetModuleHandleW(L"base_probe_module.dll"), nullptr);
}

}  // namespace
