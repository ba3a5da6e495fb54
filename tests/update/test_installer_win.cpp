// Stands in for the installer inside an update package: records that it ran, with
// its command line, in a file beside itself named after it with ".ran" appended.
#include <windows.h>

#include <string>

#include "base/win/handles.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    wchar_t self[MAX_PATH] = {};
    if (::GetModuleFileNameW(nullptr, self, MAX_PATH) == 0) {
        return 1;
    }
    const std::wstring marker = std::wstring(self) + L".ran";
    Base::UniqueFileHandle file(
        ::CreateFileW(marker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return 1;
    }
    const wchar_t* commandLine = ::GetCommandLineW();
    DWORD written = 0;
    ::WriteFile(file.Get(), commandLine, static_cast<DWORD>(::lstrlenW(commandLine) * sizeof(wchar_t)), &written,
                nullptr);
    return 0;
}
