#pragma once

#include <functional>

#include "pipeline/sensor_block.h"

// The main window's timer 300: for the first minute, start the sensor server again
// whenever its block still shows no usage. The watch does not look for a running
// server, so a launch while one runs starts a second one.
class ServerWatch {
public:
    static constexpr unsigned kTimerId = 300;
    static constexpr unsigned kPeriodMs = 5000;

    // `launch` starts the server (LaunchSensorServer in the program).
    explicit ServerWatch(std::function<void()> launch);

    // One firing of the timer. `block` is the worker's view of the sensor block
    // (DeviceWorker::SensorView), null while it is not mapped.
    // Returns true at the 12th firing (and any later one): the caller kills the timer.
    bool Fire(const SensorBlock* block);

private:
    std::function<void()> launch_;
    // The main window owns the process's only watch, so this counts for the process.
    int firings_ = 0;
};
