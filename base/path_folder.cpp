#include "base/path_folder.h"

namespace Base {

std::wstring FolderOfPath(std::wstring_view path) {
    const std::size_t lastSeparator = path.find_last_of(L'\\');
    if (lastSeparator == std::wstring_view::npos) {
        return std::wstring();
    }
    return std::wstring(path.substr(0, lastSeparator + 1));
}

}  // namespace Base
