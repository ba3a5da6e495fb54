#include "base/win/program_folder_win.h"

#include <windows.h>

#include "base/path_folder.h"

namespace Base {

std::wstring ProgramFolder() {
    // Long paths: grow until the whole name fits.
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) {
            return std::wstring();
        }
        if (length < path.size()) {
            path.resize(length);
            return FolderOfPath(path);
        }
        path.resize(path.size() * 2);
    }
}

}  // namespace Base
