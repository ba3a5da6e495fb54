#include "shell/windows_version_win.h"

#include <windows.h>

#include "base/win/handles.h"
#include "base/error_line.h"

namespace {

// The lines are narrow text in the GBK code page.
constexpr char kNoNtdll[] = "\xce\xde\xb7\xa8\xbc\xd3\xd4\xd8 ntdll.dll";
constexpr char kNoVersionExport[] =
    "\xce\xde\xb7\xa8\xbb\xf1\xc8\xa1 RtlGetNtVersionNumbers \xba\xaf\xca\xfd\xb5\xc4\xb5\xd8\xd6\xb7";

using GetNtVersionNumbers = void(WINAPI*)(DWORD* major, DWORD* minor, DWORD* build);

}  // namespace

bool IsWin10OrLater() { return IsWin10OrLater(L"ntdll.dll"); }

bool IsWin10OrLater(const wchar_t* ntdllName) {
    Base::UniqueModule ntdll(::LoadLibraryW(ntdllName));
    if (!ntdll) {
        Base::WriteErrorLine(kNoNtdll);
        return false;
    }
    const auto query = reinterpret_cast<GetNtVersionNumbers>(
        reinterpret_cast<void*>(::GetProcAddress(ntdll.Get(), "RtlGetNtVersionNumbers")));
    if (query == nullptr) {
        Base::WriteErrorLine(kNoVersionExport);
        return false;
    }
    DWORD major = 0;
    DWORD minor = 0;
    DWORD build = 0;
    query(&major, &minor, &build);
    return major >= 10;
}
