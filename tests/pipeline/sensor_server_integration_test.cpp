// The stand-in sensor server as a real process publishes exact values; the worker
// maps the same block and the emulated display receives the report.
#include <gtest/gtest.h>

#include <cmath>

#include "fake_display.h"
#include "pipeline/hid_device.h"
#include "temp_folder.h"
#include "test_files_win.h"
#include "wait_until.h"
#include "worker_fixture_win.h"

namespace {

// A copy of SensovoServer.exe in a scratch folder, with its values file beside it.
class RunningServer {
public:
    explicit RunningServer(const TempFolder& folder) : folder_(folder) {
        const std::wstring exe = folder_.Wide() + L"SensovoServer.exe";
        if (!::CopyFileW(HostPathToWindows(SENSOR_SERVER_EXE).c_str(), exe.c_str(), FALSE)) {
            return;
        }
        STARTUPINFOW startup = {};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION info = {};
        std::wstring commandLine = L"\"" + exe + L"\"";
        if (::CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                             folder_.Wide().c_str(), &startup, &info)) {
            process_.Reset(info.hProcess);
            Base::UniqueHandle thread(info.hThread);
        }
    }
    ~RunningServer() {
        if (process_) {
            ::TerminateProcess(process_.Get(), 0);
            ::WaitForSingleObject(process_.Get(), 5000);
        }
    }

    bool IsRunning() const { return process_ && ::WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT; }
    bool Publish(const std::string& values) { return WriteTextFile(folder_.Wide() + L"SensovoValues.txt", values); }

private:
    const TempFolder& folder_;
    Base::UniqueHandle process_;
};

class SensorServerIntegration : public testing::Test {
protected:
    void SetUp() override {
        fake_display::Reset();
        display = fake_display::Plug();
    }
    void TearDown() override {
        HidDevice::Instance().CloseAll();
        fake_display::Reset();
    }

    // Ticks until the display receives a report; the server writes once a second.
    std::vector<std::uint8_t> TickUntilSent(const std::function<bool(const SensorReadings&)>& published) {
        const bool arrived = WaitUntil([&] { return published(ReadSensorBlock(*worker.SensorView())); });
        EXPECT_TRUE(arrived) << "the server's values never reached the mapped block";
        const std::size_t before = fake_display::SentReports(display).size();
        worker.Step();
        const auto sent = fake_display::SentReports(display);
        return sent.size() > before ? sent.back().bytes : std::vector<std::uint8_t>{};
    }

    RecordingWindow window;
    TestWorker worker{window};
    int display = 0;
};

TEST_F(SensorServerIntegration, ProgramFirstThenServerPublishesIntoTheSameBlock) {
    // The first scan creates the block (all zeros) before any server runs.
    worker.QueueCommand(1);
    worker.Step();
    ASSERT_NE(worker.SensorView(), nullptr);
    EXPECT_EQ(ReadSensorBlock(*worker.SensorView()).usage, 0.0f);

    TempFolder folder;
    RunningServer server(folder);
    ASSERT_TRUE(server.Publish("power=65.2\ntemperature=45.9\nusage=37.5\n"));
    ASSERT_TRUE(server.IsRunning());

    EXPECT_EQ(TickUntilSent([](const SensorReadings& r) { return r.usage == 37.5f; }),
              ExpectedWrite({7, 0, 4, 5, 0x00, 0, 6, 5}));

    // New values are picked up while it runs.
    worker.tempeType = 1;
    worker.deviceType = 1;
    ASSERT_TRUE(server.Publish("power=70\ntemperature=600\nusage=130\n"));
    EXPECT_EQ(TickUntilSent([](const SensorReadings& r) { return r.usage == 130.0f; }),
              ExpectedWrite({7, 9, 9, 9, 0x11, 1, 0, 0}));

    // A bad reading is published as it is, and the server keeps running.
    worker.tempeType = 0;
    worker.deviceType = 0;
    ASSERT_TRUE(server.Publish("power=12\ntemperature=nan\nusage=3\n"));
    EXPECT_EQ(TickUntilSent([](const SensorReadings& r) { return std::isnan(r.temperature); }),
              ExpectedWrite({7, 0xFA, 0xFC, 0xF8, 0x00, 0, 1, 2}));
    EXPECT_TRUE(server.IsRunning());

    // 999 W: the tick shows and sends nothing.
    ASSERT_TRUE(server.Publish("power=999\ntemperature=50\nusage=4\n"));
    EXPECT_TRUE(TickUntilSent([](const SensorReadings& r) { return r.power == 999.0f; }).empty());
}

TEST_F(SensorServerIntegration, ServerFirstThenTheScanMapsItsBlock) {
    TempFolder folder;
    RunningServer server(folder);
    ASSERT_TRUE(server.Publish("power=5\ntemperature=-5\nusage=1\n"));
    ASSERT_TRUE(server.IsRunning());
    ServerSideBlock probe;  // waits for the server's first write through a view of our own
    ASSERT_TRUE(WaitUntil([&] { return probe.IsValid() && probe.Block().usage == 1.0f; }));

    worker.QueueCommand(1);
    worker.Step();
    ASSERT_NE(worker.SensorView(), nullptr);
    EXPECT_EQ(TickUntilSent([](const SensorReadings& r) { return r.usage == 1.0f; }),
              ExpectedWrite({7, 0, 0, 0xFB, 0x00, 0, 0, 5}));
}

TEST_F(SensorServerIntegration, LastValuesOutliveTheServer) {
    worker.QueueCommand(1);
    worker.Step();
    {
        TempFolder folder;
        RunningServer server(folder);
        ASSERT_TRUE(server.Publish("power=33\ntemperature=44\nusage=55\n"));
        ASSERT_TRUE(WaitUntil([&] { return ReadSensorBlock(*worker.SensorView()).usage == 55.0f; }));
    }
    worker.Step();
    ASSERT_FALSE(fake_display::SentReports(display).empty());
    EXPECT_EQ(fake_display::SentReports(display).back().bytes, ExpectedWrite({7, 0, 4, 4, 0x00, 0, 3, 3}));
}

}  // namespace
