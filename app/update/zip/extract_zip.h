#pragma once

#include <string>

// Unpacks every entry of the archive below `destinationFolder`, creating folders as
// needed. True when the archive could be opened, whatever became of its entries; an
// entry that fails (refused name, damaged data) leaves nothing behind.
bool ExtractZipToFolder(const std::wstring& archivePath, const std::wstring& destinationFolder);
