#pragma once

#include <string>

namespace Thermolyx {

// Installs are staged below GetStagingRoot() (update_folders_win.h), where only
// administrators can change anything, so no program of an ordinary user can plant or
// swap what the elevated program starts.

// The security every staging folder gets: owner Administrators; a protected DACL
// (nothing inherited) giving Administrators and SYSTEM full control and Users read and
// execute, inherited by everything made below it.
inline constexpr wchar_t kStagingSecurity[] = L"O:BAD:P(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;OICI;0x1200a9;;;BU)";

// Makes `root` (ending in a separator) if need be and secures it again whoever made
// it, removes what earlier installs left in it, and makes a fresh folder below it for
// this install alone. Returns that folder, ending in a separator; empty when `root`
// cannot be secured, or when any component of its path is a reparse point (a junction
// or link would carry the elevated writes elsewhere).
std::wstring PrepareInstallFolder(const std::wstring& root);

// False when any existing component of `path` (after the drive) is a reparse point or
// cannot be examined; components that do not exist yet end the check.
bool IsFreeOfReparsePoints(const std::wstring& path);

}  // namespace Thermolyx
