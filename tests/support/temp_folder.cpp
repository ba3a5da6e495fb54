#include "temp_folder.h"

#include <atomic>
#include <chrono>
#include <fstream>
#include <sstream>

TempFolder::TempFolder() {
    static std::atomic<int> counter{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    path_ = std::filesystem::temp_directory_path() /
            ("thermolyx-test-" + std::to_string(stamp) + "-" + std::to_string(counter++));
    std::filesystem::create_directories(path_);
}

TempFolder::~TempFolder() {
    std::error_code error;
    // Read-only files inside must become writable before they can go on Windows.
    for (const auto& item : std::filesystem::recursive_directory_iterator(path_, error)) {
        std::filesystem::permissions(item.path(), std::filesystem::perms::owner_write,
                                     std::filesystem::perm_options::add, error);
    }
    std::filesystem::remove_all(path_, error);
}

std::wstring TempFolder::Wide(std::string_view relative) const {
    std::filesystem::path path = path_ / std::filesystem::path(relative).make_preferred();
    std::wstring wide = path.wstring();
    if (relative.empty() || relative.back() == '/') {
        if (wide.back() != std::filesystem::path::preferred_separator) {
            wide.push_back(std::filesystem::path::preferred_separator);
        }
    }
    return wide;
}

std::wstring TempFolder::WriteFile(std::string_view relative, std::string_view bytes) const {
    const std::filesystem::path path = path_ / relative;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path.wstring();
}

std::map<std::string, std::string> ReadTree(const std::filesystem::path& root) {
    std::map<std::string, std::string> tree;
    std::error_code error;
    for (const auto& item : std::filesystem::recursive_directory_iterator(root, error)) {
        const std::string relative = item.path().lexically_relative(root).generic_string();
        if (item.is_directory()) {
            tree[relative + "/"] = "";
        } else {
            std::ostringstream content;
            content << std::ifstream(item.path(), std::ios::binary).rdbuf();
            tree[relative] = content.str();
        }
    }
    return tree;
}
