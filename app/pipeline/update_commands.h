#pragma once

#include "pipeline/command_queue.h"

namespace Thermolyx {

// Runs the update checks and installs (worker commands 3 to 8) on the worker thread.
class UpdateCommands {
public:
    virtual void RunUpdateCommand(WorkerCommand command) = 0;

protected:
    ~UpdateCommands() = default;
};

}  // namespace Thermolyx
