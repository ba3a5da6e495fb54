// The stand-in sensor server as a real process publishes exact values; the worker
// maps the same block and the emulated display receives the report.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "fake_display.h"
#include "pipeline/hid_device.h"
#include "temp_folder.h"
#include "test_files_win.h"
#include "wait_until.h"
#include "worker_fixture_win.h"

namespace {

// A copy of SensovoServer.exe in a scratch folder, with its values file beside it.
// Its standard error stream goes to "stderr.txt" there.
class RunningServer {
public:
    explicit RunningServer(const TempFolder& folder, const std::wstring& arguments = L"") : folder_(folder) {
        const std::wstring exe = folder_.Wide() + L"SensovoServer.exe";
        if (!::CopyFileW(HostPathToWindows(SENSOR_SERVER_EXE).c_str(), exe.c_str(), FALSE)) {
            return;
        }
        SECURITY_ATTRIBUTES inheritable = {sizeof(inheritable), nullptr, TRUE};
        Base::UniqueFileHandle errors(::CreateFileW((folder_.Wide() + L"stderr.txt").c_str(), GENERIC_WRITE,
                                                    FILE_SHARE_READ | FILE_SHARE_WRITE, &inheritable, CREATE_ALWAYS,
                                                    FILE_ATTRIBUTE_NORMAL, nullptr));
        STARTUPINFOW startup = {};
        startup.cb = sizeof(startup);
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdError = errors.Get();
        PROCESS_INFORMATION info = {};
        std::wstring commandLine = L"\"" + exe + L"\" " + arguments;
        if (::CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
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
    std::string ErrorLines() const {
        std::ifstream file(std::filesystem::path(folder_.Wide() + L"stderr.txt"), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(file), {});
    }
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

// Without a values file and without "-demo" the server publishes only what the
// machine gives; under Wine that is the host's files, and whatever they lack reads 0.
TEST_F(SensorServerIntegration, InventsNothingUnlessAskedTo) {
    worker.QueueCommand(1);
    worker.Step();
    TempFolder folder;
    std::string line;
    {
        RunningServer server(folder);
        ASSERT_TRUE(server.IsRunning());
        ASSERT_TRUE(WaitUntil([&] { return !(line = server.ErrorLines()).empty(); })) << "no line on stderr";
        ::Sleep(2500);  // two more publications
        EXPECT_NE(line.find("usage from the host's files"), std::string::npos) << line;
        EXPECT_EQ(line.find("demo"), std::string::npos) << line;
        EXPECT_EQ(std::count(line.begin(), line.end(), '\n'), 1) << line;
        const SensorReadings readings = ReadSensorBlock(*worker.SensorView());
        // A value the host does not give is 0, never a made-up curve.
        for (const auto& [name, value] : {std::pair{"temperature", readings.temperature}, {"power", readings.power}}) {
            if (line.find(std::string(name) + " from nowhere (published as 0)") != std::string::npos) {
                EXPECT_EQ(value, 0.0f) << name;
            } else {
                EXPECT_NE(line.find(std::string(name) + " from the host's files"), std::string::npos) << line;
            }
        }
    }

    RunningServer demo(folder, L"-demo");
    ASSERT_TRUE(WaitUntil([&] { return demo.ErrorLines().find("usage from the demo curve") != std::string::npos; }));
    EXPECT_TRUE(WaitUntil([&] { return ReadSensorBlock(*worker.SensorView()).temperature > 20.0f; }));
}

}  // namespace
