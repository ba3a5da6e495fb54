#include "wine_win.h"

#include <windows.h>

bool RunningUnderWine() { return ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr; }
