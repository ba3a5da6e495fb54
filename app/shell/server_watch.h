#pragma once

#include <functional>

#include "pipeline/sensor_block.h"

// The main window's watch over the sensor server. For the first minute (timer 300)
// it starts the server again whenever the block still shows no usage; afterwards
// (timer 301) it restarts a server that has died. It never starts a server while one
// of that name runs: an idle processor can read exactly 0 % usage, and each launch
// would leave one more elevated server behind.
class ServerWatch {
public:
    static constexpr unsigned kTimerId = 300;
    static constexpr unsigned kPeriodMs = 5000;
    // Clear of the main window's 200, of the paint manager's 66, 88 and 99, and of
    // the control timers (ids below 240).
    static constexpr unsigned kSlowTimerId = 301;
    static constexpr unsigned kSlowPeriodMs = 30000;

    // `serverRunning` tells whether any server process runs; `launch` starts one
    // (IsProcessRunning and LaunchSensorServer in the program).
    ServerWatch(std::function<bool()> serverRunning, std::function<void()> launch);

    // One firing of timer 300. `block` is the worker's view of the sensor block
    // (DeviceWorker::SensorView), null while it is not mapped.
    // Returns true at the 12th firing (and any later one): the caller kills timer 300
    // and starts timer 301.
    bool Fire(const SensorBlock* block);

    // One firing of timer 301.
    void FireSlow();

private:
    void LaunchUnlessRunning();

    std::function<bool()> serverRunning_;
    std::function<void()> launch_;
    // The main window owns the process's only watch, so this counts for the process.
    int firings_ = 0;
};
