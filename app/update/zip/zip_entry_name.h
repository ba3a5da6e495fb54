#pragma once

#include <string>
#include <string_view>

// Stored names may separate their components with either slash.
inline bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

// Strips what would anchor a stored name elsewhere: a leading drive letter and
// colon, leading separators, and everything up to a "\..\"-style sequence,
// repeated until none of these applies.
std::wstring CleanEntryName(std::wstring name);

// Whether a (cleaned) name may be joined to the destination folder: relative, no
// ".." component, no colon, wildcard or control character, no component ending in
// a dot or space (Windows drops those), and no reserved device name.
bool IsSafeEntryName(std::wstring_view name);
