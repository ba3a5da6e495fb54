#pragma once

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <mutex>
#include <string>
#include <vector>

#include "pipeline/device_worker_win.h"

// Records what the worker asks of the main window, in order: "tick" for a repaint,
// the text itself for a device-count update.
class RecordingWindow : public PipelineWindow {
public:
    void InvalidateReadings() override {
        std::lock_guard guard(lock_);
        events_.push_back(L"tick");
    }
    void SetDeviceCountText(const std::wstring& text) override {
        std::lock_guard guard(lock_);
        events_.push_back(text);
    }
    std::vector<std::wstring> Events() {
        std::lock_guard guard(lock_);
        return events_;
    }
    int Count(const std::wstring& what) {
        std::lock_guard guard(lock_);
        return static_cast<int>(std::count(events_.begin(), events_.end(), what));
    }

private:
    std::mutex lock_;
    std::vector<std::wstring> events_;
};

// The worker with its step exposed, so a test can drive the dispatcher by hand.
class TestWorker : public DeviceWorker {
public:
    using DeviceWorker::DeviceWorker;
    ~TestWorker() { StopThread(); }

    void Step() { Run(); }
    std::atomic<int> steps{0};

protected:
    void Run() override {
        ++steps;
        DeviceWorker::Run();
    }
};

// A writable view of the shared block, as the sensor server has it.
class ServerSideBlock {
public:
    ServerSideBlock()
        : mapping_(::CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kSensorBlockSize,
                                        kSensorBlockName)),
          view_(mapping_ ? ::MapViewOfFile(mapping_.Get(), FILE_MAP_WRITE, 0, 0, kSensorBlockSize) : nullptr) {}

    SensorBlock& Block() { return *static_cast<SensorBlock*>(const_cast<void*>(view_.Get())); }
    bool IsValid() const { return view_.IsValid(); }

private:
    Base::UniqueHandle mapping_;
    Base::UniqueMappedView view_;
};

// The 65 bytes a display receives for a report whose first eight bytes are given.
inline std::vector<std::uint8_t> ExpectedWrite(std::initializer_list<std::uint8_t> bytes0To7) {
    std::vector<std::uint8_t> write(65, 0);
    std::copy(bytes0To7.begin(), bytes0To7.end(), write.begin());
    return write;
}
