#include "core/rk_timer.h"

#include <mmsystem.h>

#include <algorithm>
#include <optional>

namespace Orvik {

int RKTimer::m_bIsTmierOK = 0;
unsigned RKTimer::m_uAccuracy = 1;

namespace {

// Every live RKTimer, and the settling of the resolution, under one process-wide
// lock. Taken before an object's records lock, never while holding one.
std::mutex& RegistryLock() {
    static std::mutex lock;
    return lock;
}

std::vector<RKTimer*>& Registry() {
    static std::vector<RKTimer*> objects;
    return objects;
}

// The resolution to raise to, read from the timer device once it answers; 0 while
// it does not.
unsigned SettledAccuracy() {
    const std::lock_guard hold(RegistryLock());
    if (!RKTimer::m_bIsTmierOK) {
        TIMECAPS caps{};
        if (::timeGetDevCaps(&caps, sizeof(caps)) != TIMERR_NOERROR) {
            return 0;
        }
        RKTimer::m_uAccuracy = std::min(std::max(caps.wPeriodMin, 1u), caps.wPeriodMax);
        RKTimer::m_bIsTmierOK = 1;
    }
    return RKTimer::m_uAccuracy;
}

}  // namespace

RKTimer::RKTimer() {
    const std::lock_guard hold(RegistryLock());
    Registry().push_back(this);
}

RKTimer::~RKTimer() {
    KillTimer();
    const std::lock_guard hold(RegistryLock());
    std::erase(Registry(), this);
}

void RKTimer::OnMTimer(unsigned, const std::wstring&) {}

unsigned RKTimer::SetTimer(unsigned elapse, const std::wstring& name, int appFlag) {
    const unsigned accuracy = SettledAccuracy();
    unsigned raised = 0;
    if (accuracy != 0 && ::timeBeginPeriod(accuracy) == TIMERR_NOERROR) {
        raised = accuracy;
    }
    // Synchronous kill: once timeKillEvent returns, no tick of the timer is running
    // or will run, so a stopped object can go.
    const unsigned id = ::timeSetEvent(elapse, accuracy != 0 ? accuracy : 1u, &RKTimer::TimerCallProc,
                                       reinterpret_cast<DWORD_PTR>(this),
                                       TIME_PERIODIC | TIME_CALLBACK_FUNCTION | TIME_KILL_SYNCHRONOUS);
    if (id == 0 && raised != 0) {
        ::timeEndPeriod(raised);
        raised = 0;
    }
    // A tick that beats this append finds no record and so no application flag.
    const std::lock_guard hold(recordsLock_);
    records_.push_back({id, name, appFlag, raised});
    return id;
}

void RKTimer::Stop(const Record& record) {
    if (record.id != 0) {
        ::timeKillEvent(record.id);
    }
    if (record.raised != 0) {
        ::timeEndPeriod(record.raised);
    }
}

// The record leaves the list under the lock; the timer stops outside it, because
// stopping waits for a tick that may be waiting for the lock.
template <typename Match>
int RKTimer::KillFirst(Match match) {
    std::optional<Record> stopped;
    int left;
    {
        const std::lock_guard hold(recordsLock_);
        const auto found = std::find_if(records_.begin(), records_.end(), match);
        if (found != records_.end()) {
            stopped = std::move(*found);
            records_.erase(found);
        }
        left = static_cast<int>(records_.size());
    }
    if (stopped) {
        Stop(*stopped);
    }
    return left;
}

int RKTimer::KillTimer(unsigned id) {
    return KillFirst([id](const Record& record) { return record.id == id; });
}

int RKTimer::KillTimer(const std::wstring& name) {
    return KillFirst([&name](const Record& record) { return record.name == name; });
}

void RKTimer::KillTimer() {
    std::vector<Record> stopped;
    {
        const std::lock_guard hold(recordsLock_);
        stopped.swap(records_);
    }
    for (const Record& record : stopped) {
        Stop(record);
    }
}

int RKTimer::GetTimerIsRun(unsigned id) {
    const std::lock_guard hold(recordsLock_);
    return std::any_of(records_.begin(), records_.end(), [id](const Record& record) { return record.id == id; });
}

int RKTimer::GetTimerIsRun(const std::wstring& name) {
    const std::lock_guard hold(recordsLock_);
    return std::any_of(records_.begin(), records_.end(),
                       [&name](const Record& record) { return record.name == name; });
}

std::wstring RKTimer::GetTimerName(unsigned id) {
    const std::lock_guard hold(recordsLock_);
    for (const Record& record : records_) {
        if (record.id == id) {
            return record.name;
        }
    }
    return {};
}

int RKTimer::IsAppTimer(unsigned id) {
    const std::lock_guard hold(recordsLock_);
    for (const Record& record : records_) {
        if (record.id == id) {
            return record.appFlag;
        }
    }
    return 0;
}

RKTimer* RKTimer::GetFSTimer(unsigned id) {
    const std::lock_guard hold(RegistryLock());
    for (RKTimer* object : Registry()) {
        if (object->GetTimerIsRun(id)) {
            return object;
        }
    }
    return nullptr;
}

void CALLBACK RKTimer::TimerCallProc(UINT id, UINT, DWORD_PTR user, DWORD_PTR, DWORD_PTR) {
    auto* object = reinterpret_cast<RKTimer*>(user);
    if (object == nullptr) {
        return;
    }
    object->OnMTimer(id);
    // Read under the lock, called outside it, so the handler may stop timers.
    int appFlag = 0;
    std::wstring name;
    {
        const std::lock_guard hold(object->recordsLock_);
        for (const Record& record : object->records_) {
            if (record.id == id) {
                appFlag = record.appFlag;
                name = record.name;
                break;
            }
        }
    }
    if (appFlag != 0) {
        object->OnMTimer(id, name);
    }
}

}  // namespace Orvik
