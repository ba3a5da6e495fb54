#pragma once

#include <windows.h>

#include <mutex>
#include <string>
#include <vector>

#include "core/orvik_api.h"

namespace Orvik {

// Periodic multimedia timers of one object. Ticks arrive on the system's timer
// thread as OnMTimer(id), and for timers started with the application flag also as
// OnMTimer(id, name). Each running timer holds the raised timer resolution for as
// long as it runs, so raising and ending it stay balanced whatever the order in
// which objects and timers go.
//
// A derived class stops its timers in its own destructor (KillTimer()): by the time
// this base's destructor runs, a tick could no longer reach the derived OnMTimer.
class ORVIK_API RKTimer {
public:
    RKTimer();
    RKTimer(const RKTimer&) = delete;
    RKTimer& operator=(const RKTimer&) = delete;

    // Kept for the interface: application timers call it, nothing here uses the name.
    virtual void OnMTimer(unsigned id, const std::wstring& name);
    virtual void OnMTimer(unsigned id) = 0;
    virtual ~RKTimer();

    // Starts a periodic timer of `elapse` milliseconds. The record is kept even when
    // the system refuses the timer; its id is then 0 and no tick arrives.
    unsigned SetTimer(unsigned elapse, const std::wstring& name, int appFlag);
    // Stop the first timer with that id or name and drop its record; the number of
    // records left. Each waits for a tick in progress to end, so no tick of the
    // stopped timer arrives after it returns: never call while holding a lock that a
    // tick takes.
    int KillTimer(unsigned id);
    int KillTimer(const std::wstring& name);
    void KillTimer();

    int GetTimerIsRun(unsigned id);
    int GetTimerIsRun(const std::wstring& name);
    std::wstring GetTimerName(unsigned id);
    int IsAppTimer(unsigned id);

    // The object holding timer `id`, or null.
    static RKTimer* GetFSTimer(unsigned id);
    static void CALLBACK TimerCallProc(UINT id, UINT message, DWORD_PTR user, DWORD_PTR, DWORD_PTR);

    // 1 once the resolution to raise to has been read from the timer device.
    static int m_bIsTmierOK;
    // That resolution in milliseconds; each running timer raises it once.
    static unsigned m_uAccuracy;

private:
    struct Record {
        unsigned id;
        std::wstring name;
        int appFlag;
        // The resolution this timer raised, 0 if none; ended when the timer stops.
        unsigned raised;
    };

    // Stops a timer taken out of the list.
    static void Stop(const Record& record);
    template <typename Match>
    int KillFirst(Match match);

    // Ticks read the records on the timer thread while the owner starts and stops
    // timers on its own.
    std::mutex recordsLock_;
    std::vector<Record> records_;
};

}  // namespace Orvik
