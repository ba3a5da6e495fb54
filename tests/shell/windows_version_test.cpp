#include "shell/windows_version_win.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <winternl.h>

namespace {

// The answer the system gives through another call.
bool MajorVersionIsAtLeast10() {
    using GetVersion = LONG(WINAPI*)(RTL_OSVERSIONINFOW*);
    const auto getVersion = reinterpret_cast<GetVersion>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion")));
    RTL_OSVERSIONINFOW info = {};
    info.dwOSVersionInfoSize = sizeof(info);
    return getVersion != nullptr && getVersion(&info) == 0 && info.dwMajorVersion >= 10;
}

TEST(IsWin10OrLater, AgreesWithTheSystemAndWritesNothing) {
    testing::internal::CaptureStderr();
    const bool answer = IsWin10OrLater();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(answer, MajorVersionIsAtLeast10());
}

TEST(IsWin10OrLater, FailuresWriteTheirGbkLineAndAnswerNo) {
    const struct {
        const wchar_t* module;
        const char* line;
    } cases[] = {
        // "无法加载 ntdll.dll"
        {L"no-such-module.dll", "\xce\xde\xb7\xa8\xbc\xd3\xd4\xd8 ntdll.dll\n"},
        // "无法获取 RtlGetNtVersionNumbers 函数的地址": a module without the export.
        {L"shell_probe_module.dll",
         "\xce\xde\xb7\xa8\xbb\xf1\xc8\xa1 RtlGetNtVersionNumbers \xba\xaf\xca\xfd\xb5\xc4\xb5\xd8\xd6\xb7\n"},
    };
    for (const auto& c : cases) {
        testing::internal::CaptureStderr();
        EXPECT_FALSE(IsWin10OrLater(c.module));
        EXPECT_EQ(testing::internal::GetCapturedStderr(), c.line);
    }
    // The module that was loaded for the query is unloaded again.
    EXPECT_EQ(::GetModuleHandleW(L"shell_probe_module.dll"), nullptr);
}

}  // namespace
