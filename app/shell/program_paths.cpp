#include "program_paths.h"

std::wstring ProgramFolderOf(std::wstring_view executablePath) {
    const std::size_t slash = executablePath.find_last_of(L'\\');
    if (slash == std::wstring_view::npos) {
        return std::wstring();
    }
    return std::wstring(executablePath.substr(0, slash + 1));
}

std::wstring SensorServerCommandLine(std::wstring_view programFolder, bool win10OrLater) {
    const wchar_t* const build = win10OrLater ? L"\\Sensovo\\SensovoServer.exe" : L"\\SensovoWin7\\SensovoServer.exe";
    return L"\"" + std::wstring(programFolder) + build + L"\"";
}

std::wstring StartupTaskProgramPath(std::wstring_view programFolder) {
    return std::wstring(programFolder) + L"Thermolyx.exe";
}
