#pragma once

#include <atomic>
#include <cstdint>
#include <string>

#include "pipeline/command_queue.h"
#include "pipeline/display_report.h"
#include "pipeline/pipeline_window.h"
#include "pipeline/sensor_block_map_win.h"
#include "pipeline/thread_basic_win.h"
#include "pipeline/update_commands.h"

namespace Thermolyx {

// The main window's worker: one command per step, or a tick when none waits.
// Everything that touches the displays, the sensor block or the network runs here.
class DeviceWorker : public CThreadBasic {
public:
    static constexpr DWORD kStepPauseMs = 16;
    static constexpr DWORD kTickWaitMs = 1000;

    explicit DeviceWorker(PipelineWindow& window);

    // UI thread: appends a command for the worker.
    void QueueCommand(WorkerCommand command);

    // Commands 3 to 8 go here; without a handler they are dropped.
    void SetUpdateCommands(UpdateCommands* updates);

    // UI thread, on a click: the choices the next tick shows.
    void SetDisplayChoice(DisplayChoice choice);

    // The block once the first device scan has mapped it; null until then.
    const SensorBlock* SensorView() const;

protected:
    // One worker step: the dispatcher.
    void Run() override;

    void MonitorTick();
    void DeviceScan();
    // A download or check in progress ends at once.
    void StopRequested() override;

private:
    PipelineWindow& window_;
    UpdateCommands* updates_ = nullptr;
    CommandQueue commands_;
    // Written by the UI thread on a click, read by the next tick.
    std::atomic<std::int32_t> tempeType_{0};
    std::atomic<std::int32_t> deviceType_{0};

    SensorBlockMapping sensorBlock_;
};

// "Device:%d" for the device-count text.
std::wstring DeviceCountText(int count);

}  // namespace Thermolyx
