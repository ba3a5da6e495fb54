#include "pipeline/command_queue.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace {

TEST(CommandQueue, FirstInFirstOut) {
    CommandQueue queue;
    EXPECT_FALSE(queue.Pop().has_value());
    for (const WorkerCommand command : {5, 1, 6, 2, 1}) {
        queue.Push(command);
    }
    for (const WorkerCommand expected : {5, 1, 6, 2, 1}) {
        EXPECT_EQ(queue.Pop(), expected);
    }
    EXPECT_FALSE(queue.Pop().has_value());
}

TEST(CommandQueue, ConcurrentPushAndPopLoseNothing) {
    CommandQueue queue;
    constexpr int kPerProducer = 20000;
    auto produce = [&](WorkerCommand base) {
        for (int i = 0; i < kPerProducer; ++i) {
            queue.Push(base + i);
        }
    };
    std::vector<WorkerCommand> taken;
    std::thread first(produce, 0);
    std::thread second(produce, 1000000);
    while (taken.size() < 2 * kPerProducer) {
        if (const auto command = queue.Pop()) {
            taken.push_back(*command);
        }
    }
    first.join();
    second.join();
    EXPECT_FALSE(queue.Pop().has_value());
    // Each producer's commands come out in the order it put them in.
    WorkerCommand lastLow = -1;
    WorkerCommand lastHigh = 999999;
    for (const WorkerCommand command : taken) {
        WorkerCommand& last = command < 1000000 ? lastLow : lastHigh;
        EXPECT_EQ(command, last + 1);
        last = command;
    }
}

}  // namespace
