#pragma once

#include <windows.h>

namespace Orvik {

// A Windows critical section with lock() and unlock(), so std::lock_guard and
// std::scoped_lock can hold it.
class CriticalSection {
public:
    CriticalSection() { ::InitializeCriticalSection(&section_); }
    ~CriticalSection() { ::DeleteCriticalSection(&section_); }
    CriticalSection(const CriticalSection&) = delete;
    CriticalSection& operator=(const CriticalSection&) = delete;

    void lock() { ::EnterCriticalSection(&section_); }
    void unlock() { ::LeaveCriticalSection(&section_); }

private:
    CRITICAL_SECTION section_;
};

}  // namespace Orvik
