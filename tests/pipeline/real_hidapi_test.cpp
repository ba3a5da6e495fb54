// The pipeline linked with the real hidapi, as the program is. Wine lacks a function
// hidapi's Windows backend needs, so this is the "HID library unavailable" path.
#include <gtest/gtest.h>

#include "pipeline/hid_device.h"
#include "worker_fixture_win.h"

namespace {

TEST(RealHidapi, UnavailableLibraryGivesALiveEmptyList) {
    RecordingWindow window;
    TestWorker worker{window};
    HidDevice& hid = HidDevice::Instance();
    const DisplayReport report{7};
    EXPECT_FALSE(hid.WriteAll(report.data()));

    worker.QueueCommand(1);
    worker.Step();
    EXPECT_EQ(window.Events(), std::vector<std::wstring>{L"Device:0"});
    EXPECT_EQ(hid.enabled, 1);
    EXPECT_EQ(hid.DeviceCount(), 0);
    EXPECT_TRUE(hid.WriteAll(report.data()));
    std::int32_t version = 7;
    EXPECT_FALSE(hid.ReadFirmwareVersion(version));
    EXPECT_EQ(version, 7);
}

}  // namespace
