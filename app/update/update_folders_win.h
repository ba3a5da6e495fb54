#pragma once

#include <string>

// The current user's local application-data folder followed by "\Caloryn Files\";
// empty when the system cannot name that folder.
std::wstring GetWorkFolder();

namespace Thermolyx {

// Where installs are staged: a folder of the machine's program data that only
// administrators can change (see staging_folder_win.h), "%ProgramData%\Caloryn Updates\";
// empty when the system cannot name the program-data folder.
std::wstring GetStagingRoot();

}  // namespace Thermolyx

// Makes sure the folder `path` exists, creating every folder on the way. True when it
// exists afterwards.
bool CreateFolderTree(const std::wstring& path);
