#include "pipeline/thread_basic_win.h"

namespace {

constexpr DWORD kStopWaitMs = 1000;

}  // namespace

bool CThreadBasic::WorkerAlive() const {
    return doneEvent.IsValid() && ::WaitForSingleObject(doneEvent.Get(), 0) == WAIT_TIMEOUT;
}

bool CThreadBasic::StartThread(DWORD pauseMs, bool repeat) {
    // After a stop that timed out, running is 0 but the old worker still uses the
    // events and this object: resetting them under it would start a second worker.
    if (running == 1 || WorkerAlive()) {
        return false;
    }
    interval = pauseMs;
    loop = repeat ? 1 : 0;
    startTick = ::GetTickCount();
    doneEvent.Reset(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    stopEvent_.Reset(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    running = 1;
    // The thread's own handle is not kept: the done event tells when it ends.
    Base::UniqueHandle thread(::CreateThread(nullptr, 0, &CThreadBasic::ThreadProc, this, 0, nullptr));
    if (!thread) {
        running = 0;
        doneEvent.Reset();
        stopEvent_.Reset();
        return false;
    }
    return true;
}

bool CThreadBasic::StopThread() {
    if (!doneEvent.IsValid()) {
        return true;  // no worker was started, or its end was already seen
    }
    running = 0;
    ::SetEvent(stopEvent_.Get());
    StopRequested();
    const bool ended = ::WaitForSingleObject(doneEvent.Get(), kStopWaitMs) == WAIT_OBJECT_0;
    // A worker still in its step signals and waits on the events later, so they
    // stay open until it has ended.
    if (ended) {
        doneEvent.Reset();
        stopEvent_.Reset();
    }
    return ended;
}

bool CThreadBasic::SleepWhileRunning(DWORD ms) {
    if (running != 1) {
        return false;
    }
    return ::WaitForSingleObject(stopEvent_.Get(), ms) == WAIT_TIMEOUT;
}

DWORD WINAPI CThreadBasic::ThreadProc(void* object) {
    auto* self = static_cast<CThreadBasic*>(object);
    const HANDLE done = self->doneEvent.Get();
    const DWORD exitCode = self->startTick;
    if (self->loop == 0) {
        self->Run();
    } else {
        while (self->running == 1) {
            self->Run();
            self->SleepWhileRunning(self->interval);
        }
    }
    ::SetEvent(done);
    return exitCode;
}
