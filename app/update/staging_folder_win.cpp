#include "update/staging_folder_win.h"

#include <windows.h>
#include <aclapi.h>
#include <sddl.h>

#include "base/win/handles.h"
#include "update/zip/zip_entry_name.h"

namespace Thermolyx {

namespace {

Base::UniqueLocalMemory StagingDescriptor() {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ::ConvertStringSecurityDescriptorToSecurityDescriptorW(kStagingSecurity, SDDL_REVISION_1, &descriptor, nullptr);
    return Base::UniqueLocalMemory(descriptor);
}

// Sets owner and protected DACL on the folder itself, opened without following a
// reparse point; refuses anything that is not a plain folder.
bool SecureFolder(const std::wstring& folder, PSECURITY_DESCRIPTOR descriptor) {
    Base::UniqueFileHandle handle(::CreateFileW(
        folder.c_str(), READ_CONTROL | WRITE_DAC | WRITE_OWNER, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    BY_HANDLE_FILE_INFORMATION information = {};
    if (!handle || !::GetFileInformationByHandle(handle.Get(), &information) ||
        (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 ||
        (information.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        return false;
    }
    PSID owner = nullptr;
    PACL dacl = nullptr;
    BOOL present = FALSE;
    BOOL defaulted = FALSE;
    if (!::GetSecurityDescriptorOwner(descriptor, &owner, &defaulted) ||
        !::GetSecurityDescriptorDacl(descriptor, &present, &dacl, &defaulted)) {
        return false;
    }
    // Whoever made the folder first (an ordinary user can make folders in the program
    // data), it is ours from here on.
    return ::SetSecurityInfo(
               handle.Get(), SE_FILE_OBJECT,
               OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION, owner,
               nullptr, dacl, nullptr) == ERROR_SUCCESS;
}

void RemoveTree(const std::wstring& path);

// Removes everything inside `folder` (ending in a separator). A locked leftover stays,
// but nothing ever uses it.
void RemoveContents(const std::wstring& folder) {
    WIN32_FIND_DATAW found = {};
    const Base::UniqueFindHandle search(::FindFirstFileW((folder + L"*").c_str(), &found));
    if (!search) {
        return;
    }
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..") {
            RemoveTree(folder + name);
        }
    } while (::FindNextFileW(search.Get(), &found));
}

// Removes `path` and everything below it, never following a reparse point: a link is
// removed itself, not what it leads to. Failures are left alone.
void RemoveTree(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return;
    }
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileW(path.c_str());
        return;
    }
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
        RemoveContents(path + L"\\");
    }
    ::RemoveDirectoryW(path.c_str());
}

// A name no earlier install used: this process, the time, and a count.
std::wstring MakeFreshFolder(const std::wstring& root) {
    static unsigned counter = 0;
    for (int attempt = 0; attempt < 16; ++attempt) {
        const std::wstring folder = root + L"install-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
                                    std::to_wstring(::GetTickCount64()) + L"-" + std::to_wstring(counter++);
        // Only a folder made right now is fresh; an existing one is not taken over.
        if (::CreateDirectoryW(folder.c_str(), nullptr)) {
            return folder + L"\\";
        }
        if (::GetLastError() != ERROR_ALREADY_EXISTS) {
            break;
        }
    }
    return {};
}

}  // namespace

bool IsFreeOfReparsePoints(const std::wstring& path) {
    // Past "C:\" or "\\server\share\": each component in turn, the last one included.
    std::size_t start = 0;
    if (path.size() >= 3 && path[1] == L':' && IsSeparator(path[2])) {
        start = 3;
    } else if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
        start = path.find_first_of(L"\\/", path.find_first_of(L"\\/", 2) + 1);
        start = start == std::wstring::npos ? path.size() : start + 1;
    }
    for (std::size_t at = start; at <= path.size(); ++at) {
        if (at != path.size() && !IsSeparator(path[at])) {
            continue;
        }
        if (at == start || IsSeparator(path[at - 1])) {
            continue;  // the root itself, or a doubled separator
        }
        const DWORD attributes = ::GetFileAttributesW(path.substr(0, at).c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES) {
            const DWORD error = ::GetLastError();
            return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;  // nothing further exists
        }
        if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
            return false;
        }
    }
    return true;
}

std::wstring PrepareInstallFolder(const std::wstring& root) {
    const Base::UniqueLocalMemory descriptor = StagingDescriptor();
    // Before anything is made or secured: a link on the way would hand the folder
    // it leads to to the program.
    if (root.empty() || !descriptor || !IsFreeOfReparsePoints(root)) {
        return {};
    }
    SECURITY_ATTRIBUTES attributes = {sizeof(attributes), descriptor.Get(), FALSE};
    if (!::CreateDirectoryW(root.c_str(), &attributes) && ::GetLastError() != ERROR_ALREADY_EXISTS) {
        return {};
    }
    // Checked again once the root is ours: from then on only administrators can change
    // any component (the program data and the drive root above it belong to the system).
    if (!SecureFolder(root, descriptor.Get()) || !IsFreeOfReparsePoints(root)) {
        return {};
    }
    RemoveContents(root);  // what earlier installs left
    return MakeFreshFolder(root);
}

}  // namespace Thermolyx
