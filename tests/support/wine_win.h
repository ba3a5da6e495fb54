#pragma once

// Whether this process runs under Wine: its ntdll exports wine_get_version, the
// system's never does. Tests that would change the machine's real state (the logon
// task) run only there, and tests of what Wine cannot do (junctions, creation times)
// take their other path.
bool RunningUnderWine();
