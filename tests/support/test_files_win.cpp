#include "test_files_win.h"

#include <windows.h>

#include "base/win/handles.h"

bool WriteTextFile(const std::wstring& path, const std::string& content) {
    Base::UniqueFileHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                              FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return false;
    }
    DWORD written = 0;
    return ::WriteFile(file.Get(), content.data(), static_cast<DWORD>(content.size()), &written, nullptr) &&
           written == content.size();
}

std::wstring HostPathToWindows(const std::string& hostPath) {
    std::wstring path = L"Z:";
    for (const char c : hostPath) {
        path.push_back(c == '/' ? L'\\' : static_cast<wchar_t>(c));
    }
    return path;
}
