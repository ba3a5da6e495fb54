#pragma once

#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>

// Numbered work for the worker thread: 1 device scan, 3 to 8 update checks and
// installs; an empty queue means a tick.
using WorkerCommand = std::int32_t;

namespace Thermolyx {

inline constexpr WorkerCommand kCommandDeviceScan = 1;
inline constexpr WorkerCommand kCommandFirstUpdate = 3;
inline constexpr WorkerCommand kCommandLastUpdate = 8;

// First-in first-out, unbounded. The only structure both program threads write:
// the UI thread appends, the worker takes; every access is under the one lock.
class CommandQueue {
public:
    void Push(WorkerCommand command);
    // The head of the queue, removed; nothing when the queue is empty.
    std::optional<WorkerCommand> Pop();

private:
    std::mutex lock_;
    std::deque<WorkerCommand> commands_;
};

}  // namespace Thermolyx
