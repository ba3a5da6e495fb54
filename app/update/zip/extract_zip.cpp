#include "update/zip/extract_zip.h"

#include "update/zip/zip_reader.h"

using Thermolyx::ZipExtractResult;

namespace {

// Extracts each entry, one that fails not stopping the others; the number that failed.
int ExtractEntries(ZipReader& reader, const std::wstring& destinationFolder) {
    reader.SetBaseFolder(destinationFolder);
    int failed = 0;
    for (std::int32_t i = 0; i < reader.EntryCount(); ++i) {
        ZipEntryInfo info;
        reader.GetEntry(i, info);
        if (reader.ExtractEntry(i, info.name) != ZipExtractResult::Done) {
            ++failed;
        }
    }
    return failed;
}

}  // namespace

bool ExtractZipToFolder(const std::wstring& archivePath, const std::wstring& destinationFolder) {
    std::unique_ptr<ZipReader> reader = ZipReader::Open(archivePath);
    if (!reader) {
        return false;
    }
    ExtractEntries(*reader, destinationFolder);
    return true;
}

namespace Thermolyx {

bool ExtractEveryEntry(std::unique_ptr<ArchiveFile> archive, const std::wstring& destinationFolder) {
    std::unique_ptr<ZipReader> reader = ZipReader::Open(std::move(archive));
    return reader && ExtractEntries(*reader, destinationFolder) == 0;
}

}  // namespace Thermolyx
