#pragma once

#include <memory>
#include <string>

#include "update/zip/zip_file_layer.h"

// Unpacks every entry of the archive below `destinationFolder`, creating folders as
// needed. True when the archive could be opened, whatever became of its entries; an
// entry that fails (refused name, damaged data) leaves nothing behind.
bool ExtractZipToFolder(const std::wstring& archivePath, const std::wstring& destinationFolder);

namespace Thermolyx {

// The same for an archive already open and checked, for the update installs: true
// only when it is an archive and every entry was written whole.
bool ExtractEveryEntry(std::unique_ptr<ArchiveFile> archive, const std::wstring& destinationFolder);

}  // namespace Thermolyx
