#include "pipeline/device_worker_win.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>

#include "core/manager.h"
#include "fake_display.h"
#include "pipeline/hid_device.h"
#include "wait_until.h"
#include "worker_fixture_win.h"

using Thermolyx::DeviceCountText;
using Thermolyx::DeviceWorker;
using Thermolyx::ReadSensorBlock;
using Thermolyx::UpdateCommands;

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

class RecordingUpdates : public UpdateCommands {
public:
    void RunUpdateCommand(WorkerCommand command) override { commands.push_back(command); }
    void StopTransfers() override { ++stops; }
    std::vector<WorkerCommand> commands;
    std::atomic<int> stops{0};
};

class DeviceWorkerTest : public testing::Test {
protected:
    void SetUp() override {
        fake_display::Reset();
        ASSERT_TRUE(server.IsValid());
        std::memset(&server.Block(), 0, sizeof(SensorBlock));
        display = fake_display::Plug();
    }
    void TearDown() override {
        worker.StopThread();
        HidDevice::Instance().CloseAll();
        fake_display::Reset();
    }

    void Publish(float power, float temperature, float usage) {
        server.Block().power = power;
        server.Block().temperature = temperature;
        server.Block().usage = usage;
    }

    std::vector<std::vector<std::uint8_t>> Reports() {
        std::vector<std::vector<std::uint8_t>> bytes;
        for (const auto& report : fake_display::SentReports(display)) {
            bytes.push_back(report.bytes);
        }
        return bytes;
    }

    ServerSideBlock server;
    RecordingWindow window;
    TestWorker worker{window};
    int display = 0;
};

TEST_F(DeviceWorkerTest, StartUpCommandsRunBeforeTheFirstTick) {
    RecordingUpdates updates;
    worker.SetUpdateCommands(&updates);
    Publish(65.2f, 45.9f, 37.5f);
    worker.QueueCommand(5);
    worker.QueueCommand(1);
    worker.QueueCommand(6);

    worker.Step();
    EXPECT_EQ(updates.commands, std::vector<WorkerCommand>{5});
    EXPECT_TRUE(window.Events().empty());
    worker.Step();
    EXPECT_EQ(window.Events(), std::vector<std::wstring>{L"Device:1"});
    EXPECT_NE(worker.SensorView(), nullptr);
    worker.Step();
    EXPECT_EQ(updates.commands, (std::vector<WorkerCommand>{5, 6}));
    EXPECT_TRUE(Reports().empty());

    worker.Step();  // the queue is empty: a tick
    EXPECT_EQ(window.Events(), (std::vector<std::wstring>{L"Device:1", L"tick"}));
    ASSERT_EQ(Reports().size(), 1u);
    EXPECT_EQ(Reports()[0], ExpectedWrite({7, 0, 4, 5, 0x00, 0, 6, 5}));
    EXPECT_EQ(Orvik::Manager::GetCPUTemp(), 45.0f);
    EXPECT_EQ(Orvik::Manager::GetCPUPower(), 65.0f);
}

TEST_F(DeviceWorkerTest, TickFollowsTheChoicesOfTheMoment) {
    Publish(65.2f, 45.9f, 37.5f);
    worker.QueueCommand(1);
    worker.Step();
    worker.SetDisplayChoice({1, 1});
    worker.Step();
    worker.SetDisplayChoice({0, 1});
    worker.Step();
    const auto reports = Reports();
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_EQ(reports[0], ExpectedWrite({7, 1, 1, 3, 0x11, 0, 3, 7}));
    EXPECT_EQ(reports[1], ExpectedWrite({7, 0, 4, 5, 0x10, 0, 3, 7}));
    EXPECT_EQ(Orvik::Manager::GetCPUTemp(), 45.0f);
    EXPECT_EQ(Orvik::Manager::GetCPUPower(), 37.0f);  // the overlay shows what the display shows
}

TEST_F(DeviceWorkerTest, UnknownAndUnhandledCommandsAreDropped) {
    Publish(10.0f, 20.0f, 30.0f);
    for (const WorkerCommand command : {2, 9, 0, -1, 3, 8}) {  // no update handler yet for 3 and 8
        worker.QueueCommand(command);
    }
    for (int i = 0; i < 6; ++i) {
        worker.Step();
    }
    EXPECT_TRUE(window.Events().empty());
    EXPECT_TRUE(Reports().empty());

    RecordingUpdates updates;
    worker.SetUpdateCommands(&updates);
    for (const WorkerCommand command : {2, 3, 4, 9, 5, 6, 7, 8}) {
        worker.QueueCommand(command);
    }
    for (int i = 0; i < 8; ++i) {
        worker.Step();
    }
    EXPECT_EQ(updates.commands, (std::vector<WorkerCommand>{3, 4, 5, 6, 7, 8}));
}

TEST_F(DeviceWorkerTest, StoppingTheWorkerCutsItsTransfersShort) {
    RecordingUpdates updates;
    worker.SetUpdateCommands(&updates);
    worker.StartThread(DeviceWorker::kStepPauseMs, true);
    EXPECT_TRUE(worker.StopThread());
    EXPECT_EQ(updates.stops, 1);
    EXPECT_TRUE(worker.StopThread()) << "a second stop has nothing to stop";
    EXPECT_EQ(updates.stops, 1);
}

TEST_F(DeviceWorkerTest, TickBeforeTheBlockIsMappedReadsAndSendsNothing) {
    Publish(10.0f, 20.0f, 30.0f);
    RecordingWindow otherWindow;
    TestWorker other{otherWindow};  // makes the display list live, and maps its own view
    other.QueueCommand(1);
    other.Step();
    ASSERT_NE(other.SensorView(), nullptr);
    worker.Step();
    EXPECT_EQ(worker.SensorView(), nullptr);
    EXPECT_TRUE(window.Events().empty());
    EXPECT_TRUE(Reports().empty());
}

TEST_F(DeviceWorkerTest, TickWithoutABlockStillKeepsItsSecond) {
    worker.StartThread(DeviceWorker::kStepPauseMs, true);
    ::Sleep(1500);
    // Ticks of a second each, not a 16 ms busy loop.
    EXPECT_LE(worker.steps, 3);
    EXPECT_TRUE(Reports().empty());
}

TEST_F(DeviceWorkerTest, PowerOf999WithholdsEverythingAndPollsQuickly) {
    Publish(999.0f, 45.0f, 30.0f);
    worker.QueueCommand(1);
    worker.Step();
    worker.Step();
    EXPECT_TRUE(Reports().empty());
    EXPECT_EQ(window.Count(L"tick"), 0);

    worker.StartThread(DeviceWorker::kStepPauseMs, true);
    ASSERT_TRUE(WaitUntil([&] { return worker.steps >= 15; }, 2000ms));  // about every 16 ms
    // ... and no faster: a step without its pause would spin a core.
    const int before = worker.steps;
    ::Sleep(480);
    EXPECT_LE(worker.steps - before, 40);
    EXPECT_TRUE(Reports().empty());

    Publish(998.9f, 45.0f, 30.0f);
    ASSERT_TRUE(WaitUntil([&] { return !Reports().empty(); }));
    EXPECT_EQ(Reports()[0], ExpectedWrite({7, 0, 4, 5, 0x00, 9, 9, 8}));
}

TEST_F(DeviceWorkerTest, QueuedCommandsRunBeforeTheNextTick) {
    Publish(10.0f, 20.0f, 30.0f);
    worker.QueueCommand(1);
    worker.StartThread(DeviceWorker::kStepPauseMs, true);
    ASSERT_TRUE(WaitUntil([&] { return window.Count(L"tick") >= 1; }));
    // Queued during a tick's wait: all three scans run before the next tick.
    worker.QueueCommand(1);
    worker.QueueCommand(1);
    worker.QueueCommand(1);
    ASSERT_TRUE(WaitUntil([&] { return window.Count(L"Device:1") >= 4 && window.Count(L"tick") >= 2; }));
    ASSERT_TRUE(worker.StopThread());

    const auto events = window.Events();
    ASSERT_GE(events.size(), 6u);
    EXPECT_EQ(events[0], L"Device:1");
    EXPECT_EQ(events[1], L"tick");
    EXPECT_EQ(events[2], L"Device:1");
    EXPECT_EQ(events[3], L"Device:1");
    EXPECT_EQ(events[4], L"Device:1");
    EXPECT_EQ(events[5], L"tick");
}

TEST_F(DeviceWorkerTest, TicksComeAboutASecondApartAndStopIsPrompt) {
    Publish(10.0f, 20.0f, 30.0f);
    worker.QueueCommand(1);
    worker.StartThread(DeviceWorker::kStepPauseMs, true);
    ASSERT_TRUE(WaitUntil([&] { return Reports().size() >= 1; }));
    const auto first = Clock::now();
    ASSERT_TRUE(WaitUntil([&] { return Reports().size() >= 3; }));
    const auto elapsed = Clock::now() - first;
    EXPECT_GT(elapsed, 1900ms);
    EXPECT_LT(elapsed, 3500ms);

    const auto asked = Clock::now();
    EXPECT_TRUE(worker.StopThread());
    EXPECT_LT(Clock::now() - asked, 500ms);
}

TEST_F(DeviceWorkerTest, ScanFollowsPlugAndUnplug) {
    const int second = fake_display::Plug();
    Publish(10.0f, 20.0f, 30.0f);
    worker.QueueCommand(1);
    worker.Step();
    worker.Step();
    EXPECT_EQ(fake_display::SentReports(second).size(), 1u);

    fake_display::Unplug(display);
    worker.QueueCommand(1);
    worker.Step();
    fake_display::Unplug(second);
    worker.QueueCommand(1);
    worker.Step();
    worker.Step();
    EXPECT_EQ(window.Events(), (std::vector<std::wstring>{L"Device:2", L"tick", L"Device:1", L"Device:0", L"tick"}));
    EXPECT_EQ(fake_display::SentReports(second).size(), 1u);
    EXPECT_EQ(fake_display::OpenHandles(), 0);
}

// The UI thread reads the view without a lock: a rescan must never move it.
TEST_F(DeviceWorkerTest, LaterScansKeepTheFirstSensorView) {
    worker.QueueCommand(1);
    worker.Step();
    const SensorBlock* view = worker.SensorView();
    ASSERT_NE(view, nullptr);
    for (int i = 0; i < 3; ++i) {
        worker.QueueCommand(1);
        worker.Step();
        EXPECT_EQ(worker.SensorView(), view);
    }
    Publish(12.0f, 34.0f, 56.0f);
    EXPECT_EQ(ReadSensorBlock(*view).usage, 56.0f);
}

TEST(DeviceCountText, FormatsTheCount) {
    EXPECT_EQ(DeviceCountText(0), L"Device:0");
    EXPECT_EQ(DeviceCountText(1), L"Device:1");
    EXPECT_EQ(DeviceCountText(12), L"Device:12");
    EXPECT_EQ(DeviceCountText(-1), L"Device:0");
}

}  // namespace
