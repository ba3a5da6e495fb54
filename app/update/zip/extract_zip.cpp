#include "update/zip/extract_zip.h"

#include "update/zip/zip_reader.h"

bool ExtractZipToFolder(const std::wstring& archivePath, const std::wstring& destinationFolder) {
    std::unique_ptr<ZipReader> reader = ZipReader::Open(archivePath);
    if (!reader) {
        return false;
    }
    reader->SetBaseFolder(destinationFolder);
    for (std::int32_t i = 0; i < reader->EntryCount(); ++i) {
        // Each entry stands alone: one that fails does not stop the others.
        ZipEntryInfo info;
        reader->GetEntry(i, info);
        reader->ExtractEntry(i, info.name);
    }
    return true;
}
