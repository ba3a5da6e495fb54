#pragma once

#include <windows.h>

#include <string>

namespace Base {

// Deletes the file at `path` if there is one; a missing file is not a failure.
inline void DeleteFileIfPresent(const std::wstring& path) {
    if (::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) {
        ::DeleteFileW(path.c_str());
    }
}

}  // namespace Base
