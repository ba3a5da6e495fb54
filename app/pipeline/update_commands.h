#pragma once

#include "pipeline/command_queue.h"

namespace Thermolyx {

// Runs the update checks and installs (worker commands 3 to 8) on the worker thread.
class UpdateCommands {
public:
    virtual void RunUpdateCommand(WorkerCommand command) = 0;
    // From the UI thread as the worker stops: cuts a transfer in progress short, and
    // every later one, so the worker can end within its stop's wait.
    virtual void StopTransfers() = 0;

protected:
    ~UpdateCommands() = default;
};

}  // namespace Thermolyx
