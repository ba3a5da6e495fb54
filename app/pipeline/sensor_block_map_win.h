#pragma once

#include <atomic>

#include "base/win/handles.h"
#include "pipeline/sensor_block.h"

// The program's read-only view of the sensor server's block. Once mapped it stays
// mapped for the owner's life and is never mapped again: the UI thread reads it
// without a lock, so a re-map would unmap memory under that reader.
class SensorBlockMapping {
public:
    SensorBlockMapping() = default;
    SensorBlockMapping(const SensorBlockMapping&) = delete;
    SensorBlockMapping& operator=(const SensorBlockMapping&) = delete;

    // Opens the block, or creates a zero-filled one when no server has yet (the
    // server opens the same block when it starts); `created` (optional) tells which.
    // Does nothing once mapped. On failure nothing is mapped and a later call tries
    // again.
    bool MapSensorBlock(bool* created = nullptr);

    // The block once mapped; null until then. Any thread may ask.
    const SensorBlock* View() const { return view_.load(std::memory_order_acquire); }

private:
    Base::UniqueHandle mapping_;
    Base::UniqueMappedView address_;
    std::atomic<const SensorBlock*> view_{nullptr};
};
