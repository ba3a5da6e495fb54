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

// Whatever this machine is, both answers must come out right: the "SensovoWin7"
// build for Windows 7 and 8.x, the "Sensovo" build for 10 and 11.
TEST(IsWin10OrLater, AnswersByTheMajorVersionAlone) {
    const struct {
        const wchar_t* major;
        const wchar_t* minor;
        const wchar_t* build;
        bool win10OrLater;
    } cases[] = {
        {L"6", L"1", L"7601", false},   // Windows 7
        {L"6", L"3", L"9600", false},   // Windows 8.1
        {L"10", L"0", L"19045", true},  // Windows 10
        {L"10", L"0", L"22631", true},  // Windows 11 says 10 too
        {L"11", L"0", L"0", true},     {L"5", L"1", L"2600", false},
    };
    for (const auto& c : cases) {
        ::SetEnvironmentVariableW(L"VERSION_PROBE_MAJOR", c.major);
        ::SetEnvironmentVariableW(L"VERSION_PROBE_MINOR", c.minor);
        ::SetEnvironmentVariableW(L"VERSION_PROBE_BUILD", c.build);
        testing::internal::CaptureStderr();
        EXPECT_EQ(IsWin10OrLater(L"shell_version_probe.dll"), c.win10OrLater) << c.major << "." << c.minor;
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    }
    EXPECT_EQ(::GetModuleHandleW(L"shell_version_probe.dll"), nullptr);
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
