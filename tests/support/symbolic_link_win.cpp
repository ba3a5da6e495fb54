#include "symbolic_link.h"

#include <windows.h>

#include <string>

#include "base/win/handles.h"
#include "test_files_win.h"
#include "wait_until.h"

namespace {

using UnixFileName = char*(CDECL*)(const wchar_t* dosName);

// Wine's own export: the host path behind a Windows path. Absent on Windows.
std::string UnixPath(UnixFileName toUnix, const std::filesystem::path& path) {
    char* unixPath = toUnix(path.wstring().c_str());
    if (unixPath == nullptr) {
        return {};
    }
    std::string result = unixPath;
    ::HeapFree(::GetProcessHeap(), 0, unixPath);
    return result;
}

bool Exists(const std::filesystem::path& path) {
    return ::GetFileAttributesW(path.wstring().c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

bool MakeSymbolicLink(const std::filesystem::path& target, const std::filesystem::path& link, bool isFolder) {
    const auto toUnix = reinterpret_cast<UnixFileName>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (toUnix == nullptr) {
        const DWORD flags = (isFolder ? SYMBOLIC_LINK_FLAG_DIRECTORY : 0) | 0x2;  // allow unprivileged (developer mode)
        return ::CreateSymbolicLinkW(link.wstring().c_str(), target.wstring().c_str(), flags) && Exists(link);
    }
    // Wine runs host programs given by their Z: path but hands back no handle to
    // wait on, so the link's appearance is what tells that ln has run.
    const std::string unixTarget = UnixPath(toUnix, target);
    const std::string unixLinkFolder = UnixPath(toUnix, link.parent_path());
    if (unixTarget.empty() || unixLinkFolder.empty()) {
        return false;
    }
    std::wstring command = HostPathToWindows("/bin/ln") + L" -s ";
    for (const char c : unixTarget + " " + unixLinkFolder + "/" + link.filename().string()) {
        command.push_back(static_cast<wchar_t>(c));
    }
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        return false;
    }
    Base::UniqueHandle processHandle(process.hProcess);
    Base::UniqueHandle threadHandle(process.hThread);
    return WaitUntil([&] { return Exists(link); });
}
