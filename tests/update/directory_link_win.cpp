#include "directory_link_win.h"

#include <windows.h>
#include <winioctl.h>

#include <cstring>
#include <vector>

#include "base/win/handles.h"
#include "symbolic_link.h"
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

}  // namespace

DirectoryLink::DirectoryLink(const std::wstring& link, const std::wstring& target) : link_(link) {
    if (MakeJunction(link, target)) {
        made_ = true;
        return;
    }
    // Wine cannot make junctions, but reports a host symbolic link as a reparse point.
    hostLink_ = RunningUnderWine() && MakeSymbolicLink(target, link, true);
    made_ = hostLink_ && WaitUntil([&] {
                const DWORD attributes = ::GetFileAttributesW(link.c_str());
                return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
            });
}

DirectoryLink::~DirectoryLink() {
    if (!made_) {
        return;
    }
    if (hostLink_) {
        RemoveSymbolicLink(link_, true);
    } else {
        ::RemoveDirectoryW(link_.c_str());  // a junction goes like an empty folder
    }
}
