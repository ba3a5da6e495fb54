#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>

#include "base/win/handles.h"

// A worker thread that calls Run() once, or repeatedly with a pause, until stopped.
// The destructor does not stop the thread: the owner calls StopThread first.
class CThreadBasic {
public:
    CThreadBasic() = default;
    CThreadBasic(const CThreadBasic&) = delete;
    CThreadBasic& operator=(const CThreadBasic&) = delete;

    // The thread's state, in this order; the owner and the tests read it.
    Base::UniqueHandle doneEvent;  // signalled by the thread just before it ends
    std::atomic<std::int32_t> running{0};
    std::int32_t loop = 0;
    DWORD interval = 1;
    DWORD startTick = 0;  // taken at the start; the thread also returns it as its exit code

    // Starts the worker; false, and nothing started, while a worker runs or one
    // whose stop timed out is still in its step (there is never a second thread).
    bool StartThread(DWORD pauseMs, bool repeat);
    // Asks the worker to stop, waits up to a second for it, and tells whether it
    // ended. A worker still inside a long step keeps running against this object,
    // so the owner must then not destroy it; a later call waits and answers again.
    bool StopThread();

protected:
    ~CThreadBasic() = default;

    // One step of the worker's work.
    virtual void Run() = 0;
    // Called by StopThread on its own thread before it waits, for a step that blocks
    // on something the stop event cannot wake.
    virtual void StopRequested() {}

    // Waits `ms`, or less when a stop is asked for. False when stopping.
    bool SleepWhileRunning(DWORD ms);

private:
    static DWORD WINAPI ThreadProc(void* object);

    // Whether a thread started here has not yet signalled its end.
    bool WorkerAlive() const;

    // Wakes the pauses and the tick's one-second wait at once when stopping.
    Base::UniqueHandle stopEvent_;
};
