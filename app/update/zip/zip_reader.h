#pragma once

#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "update/zip/zip_entry_data.h"
#include "update/zip/zip_file_layer.h"

// What GetEntry tells about one entry.
struct ZipEntryInfo {
    std::int32_t index = 0;  // for index -1: the number of entries
    std::wstring name;       // after CleanEntryName
    std::uint32_t attributes = 0;
    std::uint64_t accessTime = 0;
    std::uint64_t creationTime = 0;
    std::uint64_t modificationTime = 0;
    std::int32_t compressedSize = 0;
    std::int32_t uncompressedSize = 0;
};

namespace Thermolyx {

enum class ZipExtractResult {
    Done,
    BadIndex,
    UnreadableEntry,  // headers unreadable or disagreeing, or unsupported sizes
    RefusedName,      // would land outside the root folder or somewhere odd
    Encrypted,
    CannotCreate,
    Damaged,  // data unreadable, or not matching its size and CRC-32
    WriteFailed,
};

}  // namespace Thermolyx

// Reads one ZIP archive from a file (it never changes the archive) and extracts
// its entries below a root folder.
class ZipReader {
public:
    // A reader, or none when the file cannot be opened or holds no usable archive.
    static std::unique_ptr<ZipReader> Open(const std::wstring& archivePath);
    // The same over an archive already open, kept open (and unchangeable) by the reader.
    static std::unique_ptr<ZipReader> Open(std::unique_ptr<Thermolyx::ArchiveFile> archive);

    // Entries go below `folder`; a separator is appended unless it ends in one.
    void SetBaseFolder(const std::wstring& folder);
    const std::wstring& BaseFolder() const { return rootFolder_; }

    // The number of entries (what GetEntry tells for index -1).
    std::int32_t EntryCount() const { return entryCount_; }

    // Describes entry `index` (-1: only the number of entries). False for indexes
    // out of range and entries whose headers cannot be read or disagree.
    bool GetEntry(std::int32_t index, ZipEntryInfo& info);

    // Writes entry `index` below the root folder under `name` (the cleaned name
    // from GetEntry). A file that fails part-way is removed.
    Thermolyx::ZipExtractResult ExtractEntry(std::int32_t index, const std::wstring& name);

private:
    // An entry as described, with what its extraction needs.
    struct Entry {
        ZipEntryInfo info;
        std::uint16_t flags = 0;
        Thermolyx::ZipEntryData data;
    };
    struct CentralHeader;

    explicit ZipReader(std::unique_ptr<Thermolyx::ArchiveFile> archive);
    bool ReadDirectoryEnd();
    bool ReadCentralHeader(std::uint64_t offset, CentralHeader& header) const;
    bool StepTo(std::int32_t index);
    const Entry* Describe(std::int32_t index);
    bool ReadLocalHeader(const CentralHeader& central, Entry& entry, std::string& extraField) const;
    // Makes the folders of `name` up to `folderEnd` below the root; false when one of
    // them resolves outside it.
    bool CreateFoldersInside(const std::wstring& name, std::size_t folderEnd);
    Thermolyx::ZipExtractResult WriteFile(const Entry& entry, const std::wstring& target);

    std::unique_ptr<Thermolyx::ArchiveFile> archive_;
    std::int32_t entryCount_ = 0;
    std::uint64_t directoryStart_ = 0;  // already shifted by the bytes in front
    std::uint64_t directoryEnd_ = 0;
    std::uint64_t bytesInFront_ = 0;
    // The central-directory entry the reader stands on, and the last one that can be
    // reached by stepping (found when a header before it cannot be read).
    std::int32_t currentIndex_ = 0;
    std::uint64_t currentOffset_ = 0;
    std::int32_t lastReachable_ = std::numeric_limits<std::int32_t>::max();
    std::int32_t cachedIndex_ = -1;
    Entry cached_;
    std::wstring rootFolder_;
    std::vector<unsigned char> copyBuffer_;
};
