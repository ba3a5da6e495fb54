#include "update/zip/zip_reader.h"

#include <algorithm>
#include <array>
#include <limits>
#include <optional>

#include "base/utf8_text.h"
#include "update/zip/zip_bytes.h"
#include "update/zip/zip_entry_fields.h"
#include "update/zip/zip_entry_name.h"
#include "update/zip/zip_host.h"

using Thermolyx::AnsiToWide;
using Thermolyx::ArchiveFile;
using Thermolyx::CivilTime;
using Thermolyx::CleanEntryName;
using Thermolyx::CreateFolderIfMissing;
using Thermolyx::CurrentFolderWithSeparator;
using Thermolyx::DecodeAttributes;
using Thermolyx::DecodeDosDateTime;
using Thermolyx::IsInsideFolder;
using Thermolyx::IsSafeEntryName;
using Thermolyx::IsSeparator;
using Thermolyx::kAttributeDirectory;
using Thermolyx::OutputFile;
using Thermolyx::PathExists;
using Thermolyx::ReadLe16;
using Thermolyx::ReadLe32;
using Thermolyx::ResolvesInsideFolder;
using Thermolyx::ZipEntryDataReader;
using Thermolyx::ZipExtractResult;
using Thermolyx::ZipFileTimes;

namespace {

constexpr std::uint32_t kDirectoryEndSignature = 0x06054b50;
constexpr std::uint32_t kCentralHeaderSignature = 0x02014b50;
constexpr std::uint32_t kLocalHeaderSignature = 0x04034b50;
constexpr std::size_t kDirectoryEndSize = 22;
constexpr std::size_t kCentralHeaderSize = 46;
constexpr std::size_t kLocalHeaderSize = 30;

// The record sits at the end, after a comment of at most 65,535 bytes minus itself.
constexpr std::uint64_t kDirectoryEndSearchLimit = 0xFFFF;
// Blocks overlap by three bytes so that a signature across two blocks is whole in one.
constexpr std::uint64_t kSearchStep = 1024;
constexpr std::size_t kSearchBlock = 1028;

// Names and paths longer than this do not fit the Windows path limit (MAX_PATH
// with its terminator).
constexpr std::size_t kMaxNameBytes = 259;
constexpr std::size_t kMaxPathChars = 259;

constexpr std::uint16_t kFlagEncrypted = 0x0001;
constexpr std::uint16_t kFlagDataDescriptor = 0x0008;  // sizes and CRC-32 follow the data
constexpr std::uint16_t kFlagUtf8Name = 0x0800;        // set by Info-ZIP, 7-Zip, bsdtar, Python

constexpr std::uint8_t kHostUnix = 3;

// The stored name as wide text. UTF-8 where the entry says so, and refused when it is
// not. Unix packers store their locale's bytes without saying so (Info-ZIP zip 3.0
// never sets the flag), which today is UTF-8. Everything else is in the ANSI code
// page, as packers on Windows write it.
std::optional<std::wstring> DecodeEntryName(std::string_view raw, std::uint16_t flags, std::uint16_t versionMadeBy) {
    if (flags & kFlagUtf8Name) {
        return Base::DecodeUtf8Strictly(raw);
    }
    if ((versionMadeBy >> 8) == kHostUnix) {
        if (std::optional<std::wstring> utf8 = Base::DecodeUtf8Strictly(raw)) {
            return utf8;
        }
    }
    return AnsiToWide(raw);
}

}  // namespace

struct ZipReader::CentralHeader {
    std::uint64_t offset = 0;
    std::uint16_t versionMadeBy = 0;
    std::uint16_t flags = 0;
    std::uint16_t method = 0;
    std::uint16_t dosTime = 0;
    std::uint16_t dosDate = 0;
    std::uint32_t crc32 = 0;
    std::uint32_t compressedSize = 0;
    std::uint32_t uncompressedSize = 0;
    std::uint16_t nameLength = 0;
    std::uint32_t externalAttributes = 0;
    std::uint32_t localHeaderOffset = 0;
    std::uint64_t totalSize = 0;  // with name, extra field and comment
};

std::unique_ptr<ZipReader> ZipReader::Open(const std::wstring& archivePath) {
    return Open(ArchiveFile::Open(archivePath));
}

std::unique_ptr<ZipReader> ZipReader::Open(std::unique_ptr<ArchiveFile> archive) {
    if (!archive) {
        return nullptr;
    }
    std::unique_ptr<ZipReader> reader(new ZipReader(std::move(archive)));
    if (!reader->ReadDirectoryEnd()) {
        return nullptr;
    }
    return reader;
}

ZipReader::ZipReader(std::unique_ptr<ArchiveFile> archive)
    : archive_(std::move(archive)), rootFolder_(CurrentFolderWithSeparator()) {}

void ZipReader::SetBaseFolder(const std::wstring& folder) {
    rootFolder_ = folder;
    if (rootFolder_.empty() || !IsSeparator(rootFolder_.back())) {
        rootFolder_.push_back(L'\\');
    }
}

bool ZipReader::ReadDirectoryEnd() {
    const std::uint64_t fileSize = archive_->Size();
    const std::uint64_t searchLimit = std::min(kDirectoryEndSearchLimit, fileSize);
    std::array<unsigned char, kSearchBlock> block;
    std::uint64_t recordOffset = 0;
    bool found = false;
    // Backwards from the end, so the occurrence nearest the end wins.
    for (std::uint64_t back = 4; back < searchLimit && !found;) {
        back = std::min(back + kSearchStep, searchLimit);
        const std::uint64_t start = fileSize - back;
        const auto count = static_cast<std::size_t>(std::min<std::uint64_t>(kSearchBlock, fileSize - start));
        if (!archive_->ReadExactly(start, block.data(), count)) {
            return false;
        }
        for (std::size_t i = count - 3; i-- > 0;) {
            if (ReadLe32(block.data() + i) == kDirectoryEndSignature) {
                recordOffset = start + i;
                found = true;
                break;
            }
        }
    }
    unsigned char record[kDirectoryEndSize];
    if (!found || !archive_->ReadExactly(recordOffset, record, sizeof record)) {
        return false;
    }
    const std::uint16_t diskNumber = ReadLe16(record + 4);
    const std::uint16_t directoryDisk = ReadLe16(record + 6);
    const std::uint16_t entriesOnDisk = ReadLe16(record + 8);
    const std::uint16_t entriesTotal = ReadLe16(record + 10);
    const std::uint64_t directorySize = ReadLe32(record + 12);
    const std::uint64_t directoryOffset = ReadLe32(record + 16);
    if (diskNumber != 0 || directoryDisk != 0 || entriesOnDisk != entriesTotal ||
        recordOffset < directoryOffset + directorySize) {
        return false;
    }
    // Whatever precedes the archive (a self-extracting stub) shifts every offset.
    bytesInFront_ = recordOffset - (directoryOffset + directorySize);
    directoryStart_ = directoryOffset + bytesInFront_;
    directoryEnd_ = recordOffset;
    entryCount_ = entriesTotal;
    currentOffset_ = directoryStart_;
    return true;
}

bool ZipReader::ReadCentralHeader(std::uint64_t offset, CentralHeader& header) const {
    unsigned char raw[kCentralHeaderSize];
    if (offset + kCentralHeaderSize > directoryEnd_ || !archive_->ReadExactly(offset, raw, sizeof raw) ||
        ReadLe32(raw) != kCentralHeaderSignature) {
        return false;
    }
    header.offset = offset;
    header.versionMadeBy = ReadLe16(raw + 4);
    header.flags = ReadLe16(raw + 8);
    header.method = ReadLe16(raw + 10);
    header.dosTime = ReadLe16(raw + 12);
    header.dosDate = ReadLe16(raw + 14);
    header.crc32 = ReadLe32(raw + 16);
    header.compressedSize = ReadLe32(raw + 20);
    header.uncompressedSize = ReadLe32(raw + 24);
    header.nameLength = ReadLe16(raw + 28);
    const std::uint16_t extraLength = ReadLe16(raw + 30);
    const std::uint16_t commentLength = ReadLe16(raw + 32);
    header.externalAttributes = ReadLe32(raw + 38);
    header.localHeaderOffset = ReadLe32(raw + 42);
    header.totalSize = kCentralHeaderSize + header.nameLength + extraLength + commentLength;
    return offset + header.totalSize <= directoryEnd_;
}

bool ZipReader::StepTo(std::int32_t index) {
    if (index > lastReachable_) {
        return false;
    }
    if (index < currentIndex_) {
        currentIndex_ = 0;
        currentOffset_ = directoryStart_;
    }
    while (currentIndex_ < index) {
        CentralHeader header;
        if (!ReadCentralHeader(currentOffset_, header)) {
            // Nothing behind an unreadable entry can be found: remember that rather
            // than walk the directory again for every later index.
            lastReachable_ = currentIndex_;
            return false;
        }
        currentOffset_ += header.totalSize;
        ++currentIndex_;
    }
    return true;
}

bool ZipReader::ReadLocalHeader(const CentralHeader& central, Entry& entry, std::string& extraField) const {
    const std::uint64_t offset = central.localHeaderOffset + bytesInFront_;
    unsigned char raw[kLocalHeaderSize];
    if (!archive_->ReadExactly(offset, raw, sizeof raw) || ReadLe32(raw) != kLocalHeaderSignature) {
        return false;
    }
    const std::uint16_t flags = ReadLe16(raw + 6);
    const std::uint16_t method = ReadLe16(raw + 8);
    if (method != central.method ||
        (method != ZipEntryDataReader::kStored && method != ZipEntryDataReader::kDeflated)) {
        return false;
    }
    if (!(flags & kFlagDataDescriptor) &&
        (ReadLe32(raw + 14) != central.crc32 || ReadLe32(raw + 18) != central.compressedSize ||
         ReadLe32(raw + 22) != central.uncompressedSize)) {
        return false;
    }
    if (ReadLe16(raw + 26) != central.nameLength) {
        return false;
    }
    const std::uint64_t extraOffset = offset + kLocalHeaderSize + central.nameLength;
    extraField.resize(ReadLe16(raw + 28));
    if (!archive_->ReadExactly(extraOffset, extraField.data(), extraField.size())) {
        return false;
    }
    entry.flags = static_cast<std::uint16_t>(flags | central.flags);
    entry.data.offset = extraOffset + extraField.size();
    entry.data.method = method;
    entry.data.compressedSize = central.compressedSize;
    entry.data.uncompressedSize = central.uncompressedSize;
    entry.data.crc32 = central.crc32;
    return true;
}

const ZipReader::Entry* ZipReader::Describe(std::int32_t index) {
    if (index == cachedIndex_) {
        return &cached_;
    }
    CentralHeader central;
    if (!StepTo(index) || !ReadCentralHeader(currentOffset_, central)) {
        return nullptr;
    }
    constexpr auto kMaxSize = static_cast<std::uint32_t>(std::numeric_limits<std::int32_t>::max());
    // Sizes from 2 GiB up (and the ZIP64 marker 0xFFFFFFFF) are beyond this reader.
    if (central.nameLength > kMaxNameBytes || central.compressedSize > kMaxSize ||
        central.uncompressedSize > kMaxSize) {
        return nullptr;
    }
    std::string rawName(central.nameLength, '\0');
    Entry entry;
    std::string extraField;
    if (!archive_->ReadExactly(central.offset + kCentralHeaderSize, rawName.data(), rawName.size()) ||
        !ReadLocalHeader(central, entry, extraField)) {
        return nullptr;
    }
    std::optional<std::wstring> name = DecodeEntryName(rawName, central.flags, central.versionMadeBy);
    if (!name) {
        return nullptr;
    }
    ZipEntryInfo& info = entry.info;
    info.index = index;
    info.name = CleanEntryName(std::move(*name));
    info.attributes = DecodeAttributes(central.versionMadeBy, central.externalAttributes);
    const std::optional<CivilTime> dosTime = DecodeDosDateTime(central.dosDate, central.dosTime);
    const std::uint64_t stamp = dosTime ? LocalTimeToFileTime(*dosTime) : 0;
    ZipFileTimes times{stamp, stamp, stamp};
    ApplyExtendedTimestamp(extraField, times);
    info.creationTime = times.creation;
    info.accessTime = times.access;
    info.modificationTime = times.modification;
    info.compressedSize = static_cast<std::int32_t>(central.compressedSize);
    info.uncompressedSize = static_cast<std::int32_t>(central.uncompressedSize);
    cached_ = std::move(entry);
    cachedIndex_ = index;
    return &cached_;
}

bool ZipReader::GetEntry(std::int32_t index, ZipEntryInfo& info) {
    if (index < -1 || index >= entryCount_) {
        return false;
    }
    if (index == -1) {
        info = ZipEntryInfo{};
        info.index = entryCount_;
        return true;
    }
    const Entry* entry = Describe(index);
    if (!entry) {
        return false;
    }
    info = entry->info;
    return true;
}

ZipExtractResult ZipReader::ExtractEntry(std::int32_t index, const std::wstring& name) {
    if (index < 0 || index >= entryCount_) {
        return ZipExtractResult::BadIndex;
    }
    const Entry* entry = Describe(index);
    if (!entry) {
        return ZipExtractResult::UnreadableEntry;
    }
    const std::wstring target = rootFolder_ + name;
    if (!IsSafeEntryName(name) || target.size() > kMaxPathChars || !IsInsideFolder(rootFolder_, target)) {
        return ZipExtractResult::RefusedName;
    }
    const bool isDirectory = (entry->info.attributes & kAttributeDirectory) != 0;
    if (!isDirectory && (entry->flags & kFlagEncrypted)) {
        return ZipExtractResult::Encrypted;  // no password support: its data would be garbage
    }
    // The folders on the way: all of a directory's name, a file's up to its last separator.
    const std::size_t lastSeparator = name.find_last_of(L"\\/");
    const std::size_t folderEnd = isDirectory ? name.size() : lastSeparator == std::wstring::npos ? 0 : lastSeparator;
    if (!CreateFoldersInside(name, folderEnd)) {
        return ZipExtractResult::RefusedName;
    }
    if (isDirectory) {
        return ZipExtractResult::Done;
    }
    // A link already standing where the file goes would be written through.
    if (PathExists(target) && !ResolvesInsideFolder(rootFolder_, target)) {
        return ZipExtractResult::RefusedName;
    }
    return WriteFile(*entry, target);
}

bool ZipReader::CreateFoldersInside(const std::wstring& name, std::size_t folderEnd) {
    CreateFolderIfMissing(rootFolder_);
    for (std::size_t i = 1; i <= folderEnd; ++i) {
        if (i == folderEnd || IsSeparator(name[i])) {
            // Each folder is looked at before anything is made in it, so a link on
            // the way stops the entry before it reaches outside.
            const std::wstring folder = rootFolder_ + name.substr(0, i);
            CreateFolderIfMissing(folder);
            if (!ResolvesInsideFolder(rootFolder_, folder)) {
                return false;
            }
        }
    }
    return true;
}

ZipExtractResult ZipReader::WriteFile(const Entry& entry, const std::wstring& target) {
    std::unique_ptr<OutputFile> file = OutputFile::Create(target, entry.info.attributes);
    if (!file) {
        return ZipExtractResult::CannotCreate;
    }
    if (copyBuffer_.empty()) {
        copyBuffer_.resize(ZipEntryDataReader::kPieceSize);
    }
    ZipEntryDataReader data(*archive_, entry.data);
    for (;;) {
        const std::ptrdiff_t count = data.Read(copyBuffer_.data(), copyBuffer_.size());
        if (count < 0) {
            return ZipExtractResult::Damaged;
        }
        if (count == 0) {
            break;
        }
        if (!file->Write(copyBuffer_.data(), static_cast<std::size_t>(count))) {
            return ZipExtractResult::WriteFailed;
        }
    }
    const ZipFileTimes times{entry.info.creationTime, entry.info.accessTime, entry.info.modificationTime};
    return file->Commit(times) ? ZipExtractResult::Done : ZipExtractResult::WriteFailed;
}
