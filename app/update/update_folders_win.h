#pragma once

#include <string>

// The current user's local application-data folder followed by "\Caloryn Files\";
// empty when the system cannot name that folder.
std::wstring GetWorkFolder();

// Makes sure the folder `path` exists, creating every folder on the way. True when it
// exists afterwards.
bool CreateFolderTree(const std::wstring& path);
