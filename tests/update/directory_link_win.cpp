#include "directory_link_win.h"

#include <windows.h>
#include <winioctl.h>

#include <cstring>
#include <vector>

#include "base/win/handles.h"
#include "wait_until.h"
#include "wine_win.h"

namespace {

// The mount-point reparse buffer: tag, lengths, then the target's NT name and an
// empty print name.
bool MakeJunction(const std::wstring& link, const std::wstring& target) {
    if (!::CreateDirectoryW(link.c_str(), nullptr)) {
        return false;
    }
    Base::UniqueFileHandle folder(::CreateFileW(link.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                                FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    const std::wstring name = L"\\??\\" + target;
    const auto nameBytes = static_cast<WORD>(name.size() * sizeof(wchar_t));
    std::vector<BYTE> buffer(8 + 8 + nameBytes + 2 * sizeof(wchar_t), 0);
    const DWORD tag = IO_REPARSE_TAG_MOUNT_POINT;
    const WORD dataLength = static_cast<WORD>(buffer.size() - 8);
    const WORD lengths[4] = {0, nameBytes, static_cast<WORD>(nameBytes + sizeof(wchar_t)), 0};
    std::memcpy(buffer.data(), &tag, 4);
    std::memcpy(buffer.data() + 4, &dataLength, 2);
    std::memcpy(buffer.data() + 8, lengths, sizeof(lengths));
    std::memcpy(buffer.data() + 16, name.data(), nameBytes);
    DWORD returned = 0;
    if (folder && ::DeviceIoControl(folder.Get(), FSCTL_SET_REPARSE_POINT, buffer.data(),
                                    static_cast<DWORD>(buffer.size()), nullptr, 0, &returned, nullptr)) {
        return true;
    }
    folder.Reset();
    ::RemoveDirectoryW(link.c_str());
    return false;
}

std::string UnixPath(const std::wstring& path) {
    using ToUnix = char*(CDECL*)(const wchar_t*);
    const auto toUnix = reinterpret_cast<ToUnix>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    char* name = toUnix != nullptr ? toUnix(path.c_str()) : nullptr;
    std::string result = name != nullptr ? name : "";
    if (name != nullptr) {
        ::HeapFree(::GetProcessHeap(), 0, name);
    }
    return result;
}

std::wstring Widen(const std::string& text) { return std::wstring(text.begin(), text.end()); }

// Wine starts a host program by its Z: path but hands back no process to wait on.
bool RunHostCommand(std::wstring command) {
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

DirectoryLink::DirectoryLink(const std::wstring& link, const std::wstring& target) : link_(link) {
    if (MakeJunction(link, target)) {
        made_ = true;
        return;
    }
    if (!RunningUnderWine()) {
        return;
    }
    std::string hostTarget = UnixPath(target);
    while (!hostTarget.empty() && hostTarget.back() == '/') {
        hostTarget.pop_back();
    }
    hostLink_ = Widen(UnixPath(link));
    made_ = !hostTarget.empty() && !hostLink_.empty() &&
            RunHostCommand(L"Z:\\bin\\ln -s \"" + Widen(hostTarget) + L"\" \"" + hostLink_ + L"\"") && WaitUntil([&] {
                const DWORD attributes = ::GetFileAttributesW(link.c_str());
                return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
            });
}

DirectoryLink::~DirectoryLink() {
    if (!made_) {
        return;
    }
    if (hostLink_.empty()) {
        ::RemoveDirectoryW(link_.c_str());  // a junction goes like an empty folder
        return;
    }
    // Wine can neither remove a host link nor walk past one when it empties a folder.
    RunHostCommand(L"Z:\\bin\\rm \"" + hostLink_ + L"\"");
    WaitUntil([&] { return ::GetFileAttributesW(link_.c_str()) == INVALID_FILE_ATTRIBUTES; });
}
