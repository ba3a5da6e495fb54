// The handle owners the shell adds to the library's set.
#include <gtest/gtest.h>

#include "core/win_handles.h"

namespace {

TEST(HandleAliases, RegistryKeyIsClosedWithItsOwner) {
    HKEY key = nullptr;
    ASSERT_EQ(::RegOpenKeyExW(HKEY_CURRENT_USER, L"Software", 0, KEY_READ, &key), ERROR_SUCCESS);
    {
        Orvik::UniqueRegistryKey owner(key);
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

TEST(HandleAliases, ComPointerReleasesOnceAndKeepsTheLastError) {
    Counted object;
    {
        Orvik::UniqueComPtr<Counted> owner(&object);
        Orvik::UniqueComPtr<Counted> moved(std::move(owner));
        ::SetLastError(ERROR_ACCESS_DENIED);
    }
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_EQ(object.references, 0u);
}

TEST(HandleAliases, ModuleIsUnloadedWithItsOwner) {
    ASSERT_EQ(::GetModuleHandleW(L"shell_probe_module.dll"), nullptr);
    {
        Orvik::UniqueModule module(::LoadLibraryW(L"shell_probe_module.dll"));
        ASSERT_TRUE(module);
        EXPECT_EQ(::GetModuleHandleW(L"shell_probe_module.dll"), module.Get());
    }
    EXPECT_EQ(::GetModuleHandleW(L"shell_probe_module.dll"), nullptr);
}

}  // namespace
