#include "shell/program_paths.h"

std::wstring SensorServerCommandLine(std::wstring_view programFolder, bool win10OrLater) {
    const wchar_t* const build = win10OrLater ? L"\\Sensovo\\SensovoServer.exe" : L"\\SensovoWin7\\SensovoServer.exe";
    return L"\"" + std::wstring(programFolder) + build + L"\"";
}

std::wstring StartupTaskProgramPath(std::wstring_view programFolder) {
    return std::wstring(programFolder) + L"Thermolyx.exe";
}
