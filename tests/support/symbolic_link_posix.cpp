#include "symbolic_link.h"

bool MakeSymbolicLink(const std::filesystem::path& target, const std::filesystem::path& link, bool isFolder) {
    std::error_code error;
    if (isFolder) {
        std::filesystem::create_directory_symlink(target, link, error);
    } else {
        std::filesystem::create_symlink(target, link, error);
    }
    return !error && std::filesystem::is_symlink(link);
}

bool RemoveSymbolicLink(const std::filesystem::path& link, bool) {
    std::error_code error;
    return std::filesystem::remove(link, error);
}
