#include <windows.h>

#include "base/win/handles.h"
#include "update/zip/zip_entry_fields.h"
#include "update/zip/zip_file_layer.h"

namespace Thermolyx {

namespace {

std::wstring FullPathName(const std::wstring& path) {
    const DWORD length = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (length == 0) {
        return {};
    }
    std::wstring full(length, L'\0');
    const DWORD written = ::GetFullPathNameW(path.c_str(), length, full.data(), nullptr);
    full.resize(written < length ? written : 0);
    return full;
}

// The path the system reaches once links, junctions and mount points are followed;
// empty when it cannot be opened.
std::wstring FinalPath(const std::wstring& path) {
    // Backup semantics open folders too; attribute access is enough for the name.
    Base::UniqueFileHandle file(::CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file) {
        return {};
    }
    const DWORD length = ::GetFinalPathNameByHandleW(file.Get(), nullptr, 0, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (length == 0) {
        return {};
    }
    std::wstring final(length, L'\0');
    const DWORD written =
        ::GetFinalPathNameByHandleW(file.Get(), final.data(), length, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    final.resize(written < length ? written : 0);
    return final;
}

// Whether `path` begins with `folder` and a separator, letter case aside; false when
// either could not be resolved (empty).
bool StartsWithFolder(const std::wstring& path, std::wstring folder) {
    if (folder.empty() || path.empty()) {
        return false;
    }
    if (folder.back() != L'\\') {
        folder.push_back(L'\\');
    }
    return path.size() >= folder.size() &&
           ::CompareStringOrdinal(path.c_str(), static_cast<int>(folder.size()), folder.c_str(),
                                  static_cast<int>(folder.size()), TRUE) == CSTR_EQUAL;
}

}  // namespace

struct ArchiveFile::Handle {
    Base::UniqueFileHandle file;
};

std::unique_ptr<ArchiveFile> ArchiveFile::Open(const std::wstring& path) {
    // Others may read the archive too, but nobody may change it under us.
    auto handle = std::make_unique<Handle>(Handle{Base::UniqueFileHandle(::CreateFileW(
        path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr))});
    LARGE_INTEGER size = {};
    if (!handle->file || !::GetFileSizeEx(handle->file.Get(), &size)) {
        return nullptr;
    }
    return std::unique_ptr<ArchiveFile>(new ArchiveFile(std::move(handle), static_cast<std::uint64_t>(size.QuadPart)));
}

ArchiveFile::ArchiveFile(std::unique_ptr<Handle> handle, std::uint64_t size)
    : handle_(std::move(handle)), size_(size) {}

ArchiveFile::~ArchiveFile() = default;

std::ptrdiff_t ArchiveFile::ReadAt(std::uint64_t offset, void* buffer, std::size_t count) const {
    std::size_t done = 0;
    while (done < count) {
        // An OVERLAPPED with an offset makes a synchronous read positioned.
        OVERLAPPED position = {};
        const std::uint64_t at = offset + done;
        position.Offset = static_cast<DWORD>(at);
        position.OffsetHigh = static_cast<DWORD>(at >> 32);
        DWORD got = 0;
        if (!::ReadFile(handle_->file.Get(), static_cast<char*>(buffer) + done, static_cast<DWORD>(count - done), &got,
                        &position)) {
            if (::GetLastError() == ERROR_HANDLE_EOF) {
                break;
            }
            return -1;
        }
        if (got == 0) {
            break;
        }
        done += got;
    }
    return static_cast<std::ptrdiff_t>(done);
}

bool ArchiveFile::ReadExactly(std::uint64_t offset, void* buffer, std::size_t count) const {
    return ReadAt(offset, buffer, count) == static_cast<std::ptrdiff_t>(count);
}

struct OutputFile::Handle {
    Base::UniqueFileHandle file;
    DWORD attributes = 0;
};

std::unique_ptr<OutputFile> OutputFile::Create(const std::wstring& path, std::uint32_t attributes) {
    // Write access only, no sharing while it is written, and any old file replaced. The
    // file stays plain until it is committed, so a failed one can be deleted through
    // this handle (a read-only file could not be), never by a path someone may have
    // pointed elsewhere in the meantime.
    auto handle = std::make_unique<Handle>(
        Handle{Base::UniqueFileHandle(::CreateFileW(path.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_ALWAYS,
                                                    FILE_ATTRIBUTE_NORMAL, nullptr)),
               attributes & (kAttributeReadOnly | kAttributeHidden | kAttributeSystem | kAttributeArchive)});
    if (!handle->file) {
        return nullptr;
    }
    return std::unique_ptr<OutputFile>(new OutputFile(std::move(handle), path));
}

OutputFile::OutputFile(std::unique_ptr<Handle> handle, std::wstring path)
    : handle_(std::move(handle)), path_(std::move(path)) {}

OutputFile::~OutputFile() { Discard(); }

bool OutputFile::Write(const void* data, std::size_t count) {
    DWORD written = 0;
    return ::WriteFile(handle_->file.Get(), data, static_cast<DWORD>(count), &written, nullptr) && written == count;
}

bool OutputFile::Commit(const ZipFileTimes& times) {
    // Times and attributes in one call on the open file; a time of 0 leaves that time
    // as the system set it.
    FILE_BASIC_INFO basic = {};
    basic.CreationTime.QuadPart = static_cast<LONGLONG>(times.creation);
    basic.LastAccessTime.QuadPart = static_cast<LONGLONG>(times.access);
    basic.LastWriteTime.QuadPart = static_cast<LONGLONG>(times.modification);
    basic.FileAttributes = handle_->attributes != 0 ? handle_->attributes : FILE_ATTRIBUTE_NORMAL;
    if (!::SetFileInformationByHandle(handle_->file.Get(), FileBasicInfo, &basic, sizeof(basic))) {
        return false;
    }
    if (!::CloseHandle(handle_->file.Take())) {
        return false;
    }
    handle_.reset();
    return true;
}

void OutputFile::Discard() {
    if (handle_) {
        FILE_DISPOSITION_INFO disposition = {TRUE};
        ::SetFileInformationByHandle(handle_->file.Get(), FileDispositionInfo, &disposition, sizeof(disposition));
        handle_.reset();  // the file goes as its handle closes
    }
}

void CreateFolderIfMissing(const std::wstring& path) { ::CreateDirectoryW(path.c_str(), nullptr); }

std::wstring CurrentFolderWithSeparator() {
    const DWORD length = ::GetCurrentDirectoryW(0, nullptr);
    std::wstring folder(length, L'\0');
    folder.resize(::GetCurrentDirectoryW(length, folder.data()));
    if (folder.empty() || (folder.back() != L'\\' && folder.back() != L'/')) {
        folder.push_back(L'\\');
    }
    return folder;
}

bool IsInsideFolder(const std::wstring& folder, const std::wstring& path) {
    // Device names resolve to \\.\NAME, and trailing dots and spaces vanish here.
    return StartsWithFolder(FullPathName(path), FullPathName(folder));
}

bool ResolvesInsideFolder(const std::wstring& folder, const std::wstring& path) {
    std::wstring finalPath = FinalPath(path);
    if (!finalPath.empty() && finalPath.back() != L'\\') {
        finalPath.push_back(L'\\');  // the folder itself counts as inside
    }
    return StartsWithFolder(finalPath, FinalPath(folder));
}

bool PathExists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

}  // namespace Thermolyx
