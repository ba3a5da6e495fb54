#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct ProcessImage {
    DWORD id = 0;
    std::wstring path;
};

// The running processes whose executable lies under `folder`, in the order of the
// system's process list. Matching by full path keeps tests clear of other
// processes that share an executable name.
std::vector<ProcessImage> ProcessesUnder(const std::wstring& folder);

// Ends every process under `folder` and waits for each to be gone.
void EndProcessesUnder(const std::wstring& folder);
