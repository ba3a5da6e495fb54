#pragma once

#include <string>
#include <string_view>

namespace Base {

// The folder of a full path: everything up to and including the last backslash
// ("C:\A\B\prog.exe" gives "C:\A\B\"). Empty when there is no backslash, so that
// joining a name to it stays relative instead of naming the drive's root.
std::wstring FolderOfPath(std::wstring_view path);

}  // namespace Base
