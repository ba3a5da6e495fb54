#include "scratch_folder_win.h"

#include <windows.h>
#include <shellapi.h>

#include <atomic>

#include "core/win_handles.h"

ScratchFolder::ScratchFolder() {
    static std::atomic<int> counter{0};
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    path_ = std::wstring(temp) + L"thermolyx-test-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
            std::to_wstring(counter++) + L"\\";
    ::CreateDirectoryW(path_.c_str(), nullptr);
}

ScratchFolder::~ScratchFolder() {
    // SHFileOperation wants a double-NUL-terminated list and no trailing backslash.
    std::wstring from = path_.substr(0, path_.size() - 1);
    from.push_back(L'\0');
    SHFILEOPSTRUCTW operation = {};
    operation.wFunc = FO_DELETE;
    operation.pFrom = from.c_str();
    operation.fFlags = FOF_NO_UI;
    ::SHFileOperationW(&operation);
}

bool WriteTextFile(const std::wstring& path, const std::string& content) {
    Orvik::UniqueFileHandle file(
        ::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
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
