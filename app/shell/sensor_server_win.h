#pragma once

#include <string>

inline constexpr wchar_t kSensorServerExe[] = L"SensovoServer.exe";

// Terminates every process whose executable name equals `name`, ignoring letter
// case, so copies left over from earlier runs go too. True when the process list
// could be read, whether or not anything matched.
bool KillProcessByName(const wchar_t* name);

// Whether a process whose executable name equals `name` (ignoring case) runs. False
// also when the process list cannot be read.
bool IsProcessRunning(const wchar_t* name);

// Starts the server build for this Windows version from the program's folder:
// "Sensovo" on Windows 10 and later, "SensovoWin7" before. Keeps no handle; a server
// that cannot start is left for the server watch to try again.
void LaunchSensorServer();

// The same with the program folder (trailing backslash) and the version answer given.
void LaunchSensorServer(const std::wstring& programFolder, bool win10OrLater);
