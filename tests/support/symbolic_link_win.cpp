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

UnixFileName WineUnixFileName() {
    return reinterpret_cast<UnixFileName>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
}

// Wine runs host programs given by their Z: path but hands back no handle to wait
// on, so the caller watches for the program's effect instead.
bool StartHostProgram(const std::string& program, const std::string& arguments) {
    std::wstring command = HostPathToWindows(program) + L" ";
    for (const char c : arguments) {
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
    return true;
}

}  // namespace

bool MakeSymbolicLink(const std::filesystem::path& target, const std::filesystem::path& link, bool isFolder) {
    const UnixFileName toUnix = WineUnixFileName();
    if (toUnix == nullptr) {
        const DWORD flags = (isFolder ? SYMBOLIC_LINK_FLAG_DIRECTORY : 0) | 0x2;  // allow unprivileged (developer mode)
        return ::CreateSymbolicLinkW(link.wstring().c_str(), target.wstring().c_str(), flags) && Exists(link);
    }
    const std::string unixTarget = UnixPath(toUnix, target);
    const std::string unixLinkFolder = UnixPath(toUnix, link.parent_path());
    if (unixTarget.empty() || unixLinkFolder.empty()) {
        return false;
    }
    return StartHostProgram("/bin/ln",
                            "-s \"" + unixTarget + "\" \"" + unixLinkFolder + "/" + link.filename().string() + "\"") &&
           WaitUntil([&] { return Exists(link); });
}

bool RemoveSymbolicLink(const std::filesystem::path& link, bool isFolder) {
    const UnixFileName toUnix = WineUnixFileName();
    if (toUnix == nullptr) {
        return isFolder ? ::RemoveDirectoryW(link.wstring().c_str()) : ::DeleteFileW(link.wstring().c_str());
    }
    // Wine can neither remove a host link nor walk past one when it empties a folder.
    const std::string unixLink = UnixPath(toUnix, link);
    return !unixLink.empty() && StartHostProgram("/bin/rm", "\"" + unixLink + "\"") &&
           WaitUntil([&] { return !Exists(link); });
}
