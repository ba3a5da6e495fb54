#pragma once

#include <filesystem>

// Makes `link` a symbolic link to `target` (a folder when `isFolder`); false when no
// link appeared. Under Wine this is a Unix symlink made by the host's ln, which the
// program sees as an ordinary folder or file.
bool MakeSymbolicLink(const std::filesystem::path& target, const std::filesystem::path& link, bool isFolder);

// Removes the link made by MakeSymbolicLink, never what it leads to.
bool RemoveSymbolicLink(const std::filesystem::path& link, bool isFolder);
