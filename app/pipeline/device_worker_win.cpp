#include "pipeline/device_worker_win.h"

#include "core/manager.h"
#include "pipeline/hid_device.h"

namespace Thermolyx {

DeviceWorker::DeviceWorker(PipelineWindow& window) : window_(window) {}

void DeviceWorker::QueueCommand(WorkerCommand command) { commands_.Push(command); }

void DeviceWorker::SetUpdateCommands(UpdateCommands* updates) { updates_ = updates; }

void DeviceWorker::SetDisplayChoice(DisplayChoice choice) {
    tempeType_.store(choice.tempeType, std::memory_order_relaxed);
    deviceType_.store(choice.deviceType, std::memory_order_relaxed);
}

const SensorBlock* DeviceWorker::SensorView() const { return sensorBlock_.View(); }

void DeviceWorker::Run() {
    const std::optional<WorkerCommand> command = commands_.Pop();
    if (!command) {
        MonitorTick();
        return;
    }
    if (*command == kCommandDeviceScan) {
        DeviceScan();
    } else if (*command >= kCommandFirstUpdate && *command <= kCommandLastUpdate && updates_ != nullptr) {
        updates_->RunUpdateCommand(*command);
    }
    // Any other number is dropped.
}

void DeviceWorker::StopRequested() {
    if (updates_ != nullptr) {
        updates_->StopTransfers();
    }
}

void DeviceWorker::MonitorTick() {
    const SensorBlock* block = SensorView();
    if (block != nullptr) {
        const DisplayChoice choice{tempeType_.load(std::memory_order_relaxed),
                                   deviceType_.load(std::memory_order_relaxed)};
        const std::optional<DisplayFrame> frame = ComposeDisplayFrame(ReadSensorBlock(*block), choice);
        if (!frame) {
            return;  // power reads 999 W or more: show nothing, poll again after the short pause
        }
        Orvik::Manager::SetCPUTemp(static_cast<float>(frame->temperature));
        Orvik::Manager::SetCPUPower(static_cast<float>(frame->secondNumber));
        window_.InvalidateReadings();
        HidDevice::Instance().WriteAll(frame->report.data());
    }
    // Without a block there is nothing to show, but the tick still keeps its pace.
    SleepWhileRunning(kTickWaitMs);
}

void DeviceWorker::DeviceScan() {
    HidDevice& hid = HidDevice::Instance();
    hid.ScanForDisplays();
    window_.SetDeviceCountText(DeviceCountText(hid.DeviceCount()));

    sensorBlock_.MapSensorBlock();
}

std::wstring DeviceCountText(int count) { return L"Device:" + std::to_wstring(count > 0 ? count : 0); }

}  // namespace Thermolyx
