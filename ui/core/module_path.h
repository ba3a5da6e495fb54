#pragma once

#include <string>

namespace Orvik {

// The folder of a module's full path: the last component cut off, a trailing
// backslash kept or added. "C:\A\B\prog.exe" gives "C:\A\B\".
std::wstring FolderOfModulePath(const std::wstring& modulePath);

}  // namespace Orvik
