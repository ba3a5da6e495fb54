#include "shell/server_watch.h"

#include <utility>

namespace {

constexpr int kLastFiringBefore = 10;

}  // namespace

ServerWatch::ServerWatch(std::function<void()> launch) : launch_(std::move(launch)) {}

bool ServerWatch::Fire(const SensorBlock* block) {
    // `<=` and not `!(>)`: a NaN usage means the server writes, so it is left alone.
    if (block != nullptr && ReadSensorUsage(*block) <= 0.0f) {
        launch_();
    }
    return firings_++ > kLastFiringBefore;
}
