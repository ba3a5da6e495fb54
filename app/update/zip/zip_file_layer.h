#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

// The few file operations the archive reader needs. Paths are wide texts that may
// use "\" or "/"; times are Windows file times (100 ns since 1601, UTC), 0 meaning
// "leave as it is".
struct ZipFileTimes {
    std::uint64_t creation = 0;
    std::uint64_t access = 0;
    std::uint64_t modification = 0;
};

// An existing file opened for positioned reads, shared with other readers.
class ArchiveFile {
public:
    static std::unique_ptr<ArchiveFile> Open(const std::wstring& path);
    ~ArchiveFile();
    ArchiveFile(const ArchiveFile&) = delete;
    ArchiveFile& operator=(const ArchiveFile&) = delete;

    std::uint64_t Size() const { return size_; }
    // Reads up to `count` bytes at `offset`; the number read, or -1 on an error.
    std::ptrdiff_t ReadAt(std::uint64_t offset, void* buffer, std::size_t count) const;
    // True when exactly `count` bytes could be read.
    bool ReadExactly(std::uint64_t offset, void* buffer, std::size_t count) const;

private:
    struct Handle;
    ArchiveFile(std::unique_ptr<Handle> handle, std::uint64_t size);
    std::unique_ptr<Handle> handle_;
    std::uint64_t size_;
};

// A file being extracted: created (replacing any file of that name) for writing
// only, unshared, with the given Windows attribute bits. Unless committed, it is
// removed again when the object goes, so a failed entry leaves nothing behind.
class OutputFile {
public:
    static std::unique_ptr<OutputFile> Create(const std::wstring& path, std::uint32_t attributes);
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    bool Write(const void* data, std::size_t count);
    // Applies the times and closes the file, keeping it. False if either fails.
    bool Commit(const ZipFileTimes& times);

private:
    struct Handle;
    OutputFile(std::unique_ptr<Handle> handle, std::wstring path);
    void Discard();
    std::unique_ptr<Handle> handle_;
    std::wstring path_;
};

// Creates the folder unless it exists; failures are left to the file creation
// that follows.
void CreateFolderIfMissing(const std::wstring& path);

// The process's current folder, ending in a separator.
std::wstring CurrentFolderWithSeparator();

// Whether `path` still lies inside `folder` once the system has resolved it, so a
// name the system reads differently from how it looks cannot escape.
bool IsInsideFolder(const std::wstring& folder, const std::wstring& path);

// Whether the existing `path`, with every link and junction on its way followed,
// lies in `folder` (resolved the same way). A link planted inside the destination
// passes the name checks; under Wine a Unix symlink even looks like a plain folder.
// False when either cannot be resolved.
bool ResolvesInsideFolder(const std::wstring& folder, const std::wstring& path);

// Whether something exists at `path` (a link counts, wherever it points).
bool PathExists(const std::wstring& path);
