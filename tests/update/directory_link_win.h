#pragma once

#include <string>

// Makes `link` a link to the folder `target`: an NTFS junction where the system makes
// one; under Wine, which cannot, a symbolic link of the host, which Wine reports as a
// reparse point. True once the link is there.
bool MakeDirectoryLink(const std::wstring& link, const std::wstring& target);

// Whether this process runs under Wine (ntdll exports wine_get_version there).
bool RunningUnderWine();
