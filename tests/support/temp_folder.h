#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <string_view>

// A fresh folder under the system's temporary folder, removed with its contents.
// Portable, so the same tests run natively and under Wine.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    // The path of `relative` inside as wide text; a folder (or the whole folder, for
    // no argument) ends in a separator.
    std::wstring Wide(std::string_view relative = {}) const;
    // Writes `bytes` to `relative` inside and returns its wide path.
    std::wstring WriteFile(std::string_view relative, std::string_view bytes) const;

private:
    std::filesystem::path path_;
};

// Every file and folder below `root`: relative generic paths (folders end in "/")
// mapped to the file contents.
std::map<std::string, std::string> ReadTree(const std::filesystem::path& root);
