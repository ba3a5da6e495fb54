#include "shell/sensor_server_win.h"

#include <windows.h>
#include <tlhelp32.h>

#include "base/win/handles.h"
#include "base/win/program_folder_win.h"
#include "shell/program_paths.h"
#include "shell/windows_version_win.h"

namespace {

// Calls `visit` with the id of each process named `name`; false when the process
// list cannot be read.
template <typename Visit>
bool ForEachProcessNamed(const wchar_t* name, Visit visit) {
    Base::UniqueFileHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) {
        return false;
    }
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = ::Process32FirstW(snapshot.Get(), &entry); more; more = ::Process32NextW(snapshot.Get(), &entry)) {
        if (::CompareStringOrdinal(entry.szExeFile, -1, name, -1, TRUE) == CSTR_EQUAL) {
            visit(entry.th32ProcessID);
        }
    }
    return true;
}

}  // namespace

bool KillProcessByName(const wchar_t* name) {
    return ForEachProcessNamed(name, [](DWORD id) {
        Base::UniqueHandle process(::OpenProcess(PROCESS_ALL_ACCESS, FALSE, id));
        if (process) {
            ::TerminateProcess(process.Get(), 0);
        }
    });
}

bool IsProcessRunning(const wchar_t* name) {
    bool found = false;
    ForEachProcessNamed(name, [&](DWORD) { found = true; });
    return found;
}

void LaunchSensorServer() { LaunchSensorServer(Base::ProgramFolder(), IsWin10OrLater()); }

void LaunchSensorServer(const std::wstring& programFolder, bool win10OrLater) {
    std::wstring commandLine = SensorServerCommandLine(programFolder, win10OrLater);
    STARTUPINFOW startup = {};
    PROCESS_INFORMATION created = {};
    if (::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                         &created)) {
        Base::UniqueHandle process(created.hProcess);
        Base::UniqueHandle thread(created.hThread);
    }
}
