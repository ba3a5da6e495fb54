#pragma once

#include <windows.h>
#include <taskschd.h>

#include <functional>
#include <string>

namespace Thermolyx {

// Makes the Task Scheduler service object; the program's asks COM for the real one.
using TaskServiceFactory = std::function<HRESULT(ITaskService** service)>;

}  // namespace Thermolyx

// Registers (or replaces) the logon task "Caloryn StartupTask" that starts
// Thermolyx.exe from the program's folder with "-hide" and the highest run level.
// Returns 1 when a step before the registration failed, 0 once the registration was
// tried, whether or not it succeeded. Every failure writes one line to the standard
// error stream. COM is initialised and uninitialised around the calls.
int RegisterStartupTask();

// The same with the service and the program folder (trailing backslash) given.
int RegisterStartupTask(const Thermolyx::TaskServiceFactory& createService, const std::wstring& programFolder);
