#pragma once

#include <string>

// A fresh folder under %TEMP% for one test, removed with everything in it.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // The folder's path with a trailing backslash.
    const std::wstring& Path() const { return path_; }

private:
    std::wstring path_;
};

// Writes `content` to `path`, replacing the file. False on failure.
bool WriteTextFile(const std::wstring& path, const std::string& content);

// The Windows form of a path of the Linux host, through Wine's Z: drive.
std::wstring HostPathToWindows(const std::string& hostPath);
