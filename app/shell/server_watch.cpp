#include "shell/server_watch.h"

#include <utility>

namespace {

constexpr int kLastFiringBefore = 10;

}  // namespace

ServerWatch::ServerWatch(std::function<bool()> serverRunning, std::function<void()> launch)
    : serverRunning_(std::move(serverRunning)), launch_(std::move(launch)) {}

bool ServerWatch::Fire(const SensorBlock* block) {
    // `<=` and not `!(>)`: a NaN usage means the server writes, so it is left alone.
    if (block != nullptr && ReadSensorUsage(*block) <= 0.0f) {
        LaunchUnlessRunning();
    }
    return firings_++ > kLastFiringBefore;
}

// A server that crashed after the first minute would otherwise leave the display
// showing its last readings for good.
void ServerWatch::FireSlow() { LaunchUnlessRunning(); }

void ServerWatch::LaunchUnlessRunning() {
    if (!serverRunning_()) {
        launch_();
    }
}
