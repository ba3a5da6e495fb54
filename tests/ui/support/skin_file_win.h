#pragma once

#include <windows.h>

#include <string>

// A file of this process in the skin folder beside the test program, removed after.
class SkinFile {
public:
    explicit SkinFile(const std::wstring& stem);
    ~SkinFile();
    SkinFile(const SkinFile&) = delete;
    SkinFile& operator=(const SkinFile&) = delete;

    const std::wstring& Name() const { return name_; }
    const std::wstring& Path() const { return path_; }
    // A PNG of one colour.
    bool Write(int width, int height);

private:
    std::wstring name_;
    std::wstring path_;
};
