#pragma once

#include <string>
#include <string_view>

// The command line that starts the sensor server build for this Windows version.
// The folder already ends in a backslash and the format adds another; Windows
// accepts the doubled one. The path is quoted: unquoted, a folder with a blank
// ("C:\Program Files (x86)\...") would make CreateProcess try "C:\Program.exe" first,
// with administrator rights.
std::wstring SensorServerCommandLine(std::wstring_view programFolder, bool win10OrLater);

// What the logon task starts: the program under its fixed file name.
std::wstring StartupTaskProgramPath(std::wstring_view programFolder);
