#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace Thermolyx {

// The version texts of the update server's "version" files and how they compare.

// Longest "version" text taken from the server.
inline constexpr std::size_t kMaxVersionTextLength = 10;

// The text goes into file names and the download URL, so only 1 to 10 decimal digits
// and dots (software) or digits alone (firmware) are taken; anything else could name
// another path or URL.
bool IsAcceptedSoftwareVersion(std::wstring_view text);
bool IsAcceptedFirmwareVersion(std::wstring_view text);

}  // namespace Thermolyx

// Compares dotted versions part by part as leading integers: -1 when the current one
// is newer, 0 when equal, 1 when the server's is newer, 2 when the part counts differ
// (which callers take as newer).
int CompareVersions(std::wstring_view current, std::wstring_view server);

namespace Thermolyx {

// The display's two version bytes are written as hexadecimal digits and read back as
// a decimal number (0x0105 is "105"); the server's text is newer when its number is
// greater. No answering display (version -1 or lower) is never older.
bool IsFirmwareNewer(std::wstring_view server, std::int32_t deviceVersion);

}  // namespace Thermolyx
