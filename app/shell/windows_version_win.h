#pragma once

// True when the system's major version is 10 or more (Windows 10 and 11 both say
// 10). Asks ntdll's RtlGetNtVersionNumbers, which tells the truth whatever the
// program's manifest declares. On failure writes one of two lines (GBK text) to the
// standard error stream and returns false.
bool IsWin10OrLater();

// The same query against another module, so a missing module or export can be seen.
bool IsWin10OrLater(const wchar_t* ntdllName);
