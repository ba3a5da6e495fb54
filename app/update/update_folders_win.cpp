#include "update/update_folders_win.h"

#include <windows.h>
#include <shlobj.h>
#include <shlwapi.h>

#include "base/product.h"

namespace {

// The product's folder named `suffix` in the system folder `csidl`.
std::wstring ProductFolderIn(int csidl, const wchar_t* suffix) {
    wchar_t folder[MAX_PATH + 1] = {};
    if (FAILED(::SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, folder))) {
        // Without it the folder would fall back to the root of the current drive.
        return {};
    }
    return std::wstring(folder) + L"\\" + Base::kProductName + suffix;
}

}  // namespace

std::wstring GetWorkFolder() { return ProductFolderIn(CSIDL_LOCAL_APPDATA, L" Files\\"); }

namespace Thermolyx {

std::wstring GetStagingRoot() { return ProductFolderIn(CSIDL_COMMON_APPDATA, L" Updates\\"); }

}  // namespace Thermolyx

bool CreateFolderTree(const std::wstring& path) {
    if (::PathIsDirectoryW(path.c_str())) {
        return true;
    }
    // The text before the first separator is a drive or the start of a share name.
    const std::size_t first = path.find(L'\\');
    if (first != std::wstring::npos) {
        for (std::size_t at = path.find(L'\\', first + 1); at != std::wstring::npos; at = path.find(L'\\', at + 1)) {
            ::CreateDirectoryW(path.substr(0, at).c_str(), nullptr);  // most of these exist already
        }
    }
    ::SetLastError(ERROR_SUCCESS);
    return ::CreateDirectoryW(path.c_str(), nullptr) || ::GetLastError() == ERROR_ALREADY_EXISTS;
}
