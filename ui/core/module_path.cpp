#include "core/module_path.h"

namespace Orvik {

std::wstring FolderOfModulePath(const std::wstring& modulePath) {
    const std::size_t lastSeparator = modulePath.find_last_of(L'\\');
    std::wstring folder = lastSeparator == std::wstring::npos ? std::wstring() : modulePath.substr(0, lastSeparator + 1);
    if (folder.empty() || folder.back() != L'\\') {
        folder.push_back(L'\\');
    }
    return folder;
}

}  // namespace Orvik
