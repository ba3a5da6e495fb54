#pragma once

#include <windows.h>
#include <objbase.h>

#include <thread>
#include <utility>

// Runs `work` on a new thread, which starts without COM, and returns its result.
template <typename Work>
auto OnFreshThread(Work work) {
    decltype(work()) result{};
    std::thread([&] { result = work(); }).join();
    return result;
}

// Whether the calling thread has COM initialised, found by trying: a first
// initialisation answers S_OK, a nested one S_FALSE. Leaves the count as it was.
inline bool ComInitialisedOnThisThread() {
    const HRESULT probe = ::CoInitialize(nullptr);
    if (SUCCEEDED(probe)) {
        ::CoUninitialize();
    }
    return probe != S_OK;
}
