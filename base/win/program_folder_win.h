#pragma once

#include <string>

namespace Base {

// The folder of the running program's executable (the module that started the
// process, not a library), with a trailing backslash; empty when the system cannot
// name it.
std::wstring ProgramFolder();

}  // namespace Base
