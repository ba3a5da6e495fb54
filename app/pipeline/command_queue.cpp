#include "pipeline/command_queue.h"

void CommandQueue::Push(WorkerCommand command) {
    std::lock_guard guard(lock_);
    commands_.push_back(command);
}

std::optional<WorkerCommand> CommandQueue::Pop() {
    std::lock_guard guard(lock_);
    if (commands_.empty()) {
        return std::nullopt;
    }
    const WorkerCommand head = commands_.front();
    commands_.pop_front();
    return head;
}
