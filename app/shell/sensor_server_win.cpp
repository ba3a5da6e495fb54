#include "shell/sensor_server_win.h"

#include <windows.h>
#include <tlhelp32.h>

#include "base/win/handles.h"
#include "base/win/program_folder_win.h"
#include "shell/program_paths.h"
#include "shell/windows_version_win.h"

bool KillProcessByName(const wchar_t* name) {
    Base::UniqueFileHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) {
        return false;
    }
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = ::Process32FirstW(snapshot.Get(), &entry); more; more = ::Process32NextW(snapshot.Get(), &entry)) {
        if (::CompareStringOrdinal(entry.szExeFile, -1, name, -1, TRUE) == CSTR_EQUAL) {
            Base::UniqueHandle process(::OpenProcess(PROCESS_ALL_ACCESS, FALSE, entry.th32ProcessID));
            if (process) {
                ::TerminateProcess(process.Get(), 0);
            }
            break;
        }
    }
    return true;
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
