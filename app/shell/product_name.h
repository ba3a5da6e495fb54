#pragma once

// Names the registry key, the logon task and, elsewhere, the single-instance mutex,
// the tray tip and the update work folder.
inline constexpr wchar_t kProductName[] = L"Caloryn";
