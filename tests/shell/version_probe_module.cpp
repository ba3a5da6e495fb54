// Stands in for ntdll in the version query: answers with the version numbers that
// the test puts in its environment, so both answers can be seen on any machine.
#include <windows.h>

#include <cwchar>

namespace {

DWORD FromEnvironment(const wchar_t* name) {
    wchar_t text[16] = {};
    if (::GetEnvironmentVariableW(name, text, 16) == 0) {
        return 0;
    }
    return static_cast<DWORD>(std::wcstoul(text, nullptr, 10));
}

}  // namespace

extern "C" __declspec(dllexport) void WINAPI RtlGetNtVersionNumbers(DWORD* major, DWORD* minor, DWORD* build) {
    *major = FromEnvironment(L"VERSION_PROBE_MAJOR");
    *minor = FromEnvironment(L"VERSION_PROBE_MINOR");
    *build = FromEnvironment(L"VERSION_PROBE_BUILD") | 0xF0000000;  // as a release build reports it
}
