#pragma once

#include <string>

// Writes `content` to `path`, replacing the file. False on failure.
bool WriteTextFile(const std::wstring& path, const std::string& content);

// The Windows form of a path of the Linux host, through Wine's Z: drive.
std::wstring HostPathToWindows(const std::string& hostPath);
