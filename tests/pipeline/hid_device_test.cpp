#include "pipeline/hid_device.h"

#include <gtest/gtest.h>

#include <chrono>

#include "fake_display.h"

namespace {

using Clock = std::chrono::steady_clock;

DisplayReport SampleReport() {
    DisplayReport report{};
    report[0] = 7;
    report[1] = 0;
    report[2] = 4;
    report[3] = 5;
    report[63] = 0x5A;  // the last byte must travel too
    return report;
}

class HidDeviceTest : public testing::Test {
protected:
    void SetUp() override {
        fake_display::Reset();
        hid.CloseAll();
    }
    void TearDown() override {
        hid.CloseAll();
        fake_display::Reset();
    }

    void Scan() { hid.ScanForDisplays(); }

    HidDevice& hid = HidDevice::Instance();
};

TEST_F(HidDeviceTest, NothingIsWrittenWhileTheListIsNotLive) {
    const int display = fake_display::Plug();
    const DisplayReport report = SampleReport();
    EXPECT_FALSE(hid.WriteAll(report.data()));
    std::int32_t version = -1;
    EXPECT_FALSE(hid.ReadFirmwareVersion(version));
    EXPECT_EQ(version, -1);
    EXPECT_TRUE(fake_display::SentReports(display).empty());
}

TEST_F(HidDeviceTest, NoDisplayGivesALiveEmptyList) {
    Scan();
    EXPECT_EQ(hid.enabled, 1);
    EXPECT_EQ(hid.DeviceCount(), 0);
    const DisplayReport report = SampleReport();
    EXPECT_TRUE(hid.WriteAll(report.data()));
    std::int32_t version = -1;
    EXPECT_FALSE(hid.ReadFirmwareVersion(version));
}

TEST_F(HidDeviceTest, EveryDisplayGetsEveryReportAs65Bytes) {
    const int first = fake_display::Plug();
    const int second = fake_display::Plug();
    Scan();
    ASSERT_EQ(hid.DeviceCount(), 2);

    const DisplayReport report = SampleReport();
    ASSERT_TRUE(hid.WriteAll(report.data()));
    ASSERT_TRUE(hid.WriteAll(report.data()));
    for (const int display : {first, second}) {
        const auto sent = fake_display::SentReports(display);
        ASSERT_EQ(sent.size(), 2u);
        for (const auto& one : sent) {
            ASSERT_EQ(one.bytes.size(), 65u);
            EXPECT_TRUE(std::equal(report.begin(), report.end(), one.bytes.begin()));
            EXPECT_EQ(one.bytes[64], 0);
        }
    }
}

TEST_F(HidDeviceTest, OtherCollectionsAndOtherDevicesAreNotKept) {
    const int display = fake_display::Plug({.secondCollection = true});
    const int stranger = fake_display::Plug({.vendorId = 0x1A2C, .productId = 0x4985});
    Scan();
    EXPECT_EQ(hid.DeviceCount(), 1);
    // The keyboard-like collection was opened for the look and closed again.
    EXPECT_EQ(fake_display::OpenHandles(), 1);

    const DisplayReport report = SampleReport();
    hid.WriteAll(report.data());
    EXPECT_EQ(fake_display::SentReports(display).size(), 1u);
    EXPECT_TRUE(fake_display::SentToSecondCollection(display).empty());
    EXPECT_TRUE(fake_display::SentReports(stranger).empty());
}

TEST_F(HidDeviceTest, WithoutFiltersNothingIsOpened) {
    fake_display::Plug();
    hid.ClearFilters();
    hid.OpenAll();
    hid.enabled = 1;
    EXPECT_EQ(hid.DeviceCount(), 0);
    EXPECT_EQ(fake_display::OpenHandles(), 0);
}

TEST_F(HidDeviceTest, EachScanRebuildsTheListFromScratch) {
    const int first = fake_display::Plug();
    const int second = fake_display::Plug();
    Scan();
    Scan();
    EXPECT_EQ(hid.DeviceCount(), 2);
    EXPECT_EQ(fake_display::OpenHandles(), 2);

    fake_display::Unplug(first);
    Scan();
    EXPECT_EQ(hid.DeviceCount(), 1);
    EXPECT_EQ(fake_display::OpenHandles(), 1);
    const DisplayReport report = SampleReport();
    hid.WriteAll(report.data());
    EXPECT_EQ(fake_display::SentReports(second).size(), 1u);
    EXPECT_TRUE(fake_display::SentReports(first).empty());

    hid.CloseAll();
    EXPECT_EQ(hid.enabled, 0);
    EXPECT_EQ(hid.DeviceCount(), 0);
    EXPECT_EQ(fake_display::OpenHandles(), 0);
}

TEST_F(HidDeviceTest, FailuresOfOneDisplayDoNotStopTheOthers) {
    const int unopenable = fake_display::Plug();
    const int failing = fake_display::Plug();
    const int healthy = fake_display::Plug({.productStringFails = true});
    fake_display::SetOpenFails(unopenable, true);
    Scan();
    ASSERT_EQ(hid.DeviceCount(), 2);

    fake_display::SetSendFails(failing, true);
    const DisplayReport report = SampleReport();
    EXPECT_TRUE(hid.WriteAll(report.data()));
    EXPECT_EQ(fake_display::SentReports(healthy).size(), 1u);

    // An unplugged display stays listed, and fails quietly, until the next scan.
    fake_display::Unplug(healthy);
    EXPECT_TRUE(hid.WriteAll(report.data()));
    EXPECT_EQ(hid.DeviceCount(), 2);
}

TEST_F(HidDeviceTest, PathThatDoesNotFitItsFieldIsSkipped) {
    const int longPath = fake_display::Plug({.pathOverride = std::string(1024, 'p')});
    const int fitting = fake_display::Plug({.pathOverride = std::string(1023, 'q')});
    Scan();
    EXPECT_EQ(hid.DeviceCount(), 1);
    const DisplayReport report = SampleReport();
    hid.WriteAll(report.data());
    EXPECT_TRUE(fake_display::SentReports(longPath).empty());
    EXPECT_EQ(fake_display::SentReports(fitting).size(), 1u);
}

TEST_F(HidDeviceTest, FirmwareVersionComesFromTheFirstDisplay) {
    const int first = fake_display::Plug();
    const int second = fake_display::Plug();
    fake_display::SetVersion(first, 0x01, 0x05);
    fake_display::SetVersion(second, 0x02, 0x00);
    Scan();

    std::int32_t version = 0;
    const auto started = Clock::now();
    ASSERT_TRUE(hid.ReadFirmwareVersion(version));
    EXPECT_GE(Clock::now() - started, std::chrono::milliseconds(30));  // two pauses of 16 ms at least
    EXPECT_EQ(version, 0x0105);

    // The request is 64 bytes: report 7, code 0xFD, zeros.
    const auto sent = fake_display::SentReports(first);
    ASSERT_EQ(sent.size(), 1u);
    ASSERT_EQ(sent[0].bytes.size(), 64u);
    EXPECT_EQ(sent[0].bytes[0], 0x07);
    EXPECT_EQ(sent[0].bytes[1], 0xFD);
    EXPECT_EQ(std::count(sent[0].bytes.begin() + 2, sent[0].bytes.end(), 0), 62);
    EXPECT_EQ(fake_display::FeatureReads(first), 1);
    EXPECT_TRUE(fake_display::SentReports(second).empty());
}

TEST_F(HidDeviceTest, StaleVersionAnswerIsReadOnceMore) {
    const int display = fake_display::Plug();
    fake_display::SetVersion(display, 0x01, 0x05);
    fake_display::SetStaleAnswers(display, 1, 0x00);
    Scan();
    std::int32_t version = 0;
    ASSERT_TRUE(hid.ReadFirmwareVersion(version));
    EXPECT_EQ(version, 0x0105);
    EXPECT_EQ(fake_display::FeatureReads(display), 2);
}

TEST_F(HidDeviceTest, SecondStaleAnswerIsTakenAsItIs) {
    const int display = fake_display::Plug();
    fake_display::SetStaleAnswers(display, 5, 0x06);
    Scan();
    std::int32_t version = 0;
    ASSERT_TRUE(hid.ReadFirmwareVersion(version));
    // No third attempt: bytes 1 and 2 of the second read.
    EXPECT_EQ(fake_display::FeatureReads(display), 2);
    EXPECT_EQ(version, 0xEE02);
}

TEST_F(HidDeviceTest, FailedVersionRequestLeavesTheVersionAlone) {
    const int display = fake_display::Plug();
    Scan();
    fake_display::SetSendFails(display, true);
    std::int32_t version = 42;
    EXPECT_FALSE(hid.ReadFirmwareVersion(version));
    EXPECT_EQ(version, 42);
    EXPECT_EQ(fake_display::FeatureReads(display), 0);
}

TEST_F(HidDeviceTest, UnansweredReadsTakeTheRequestBytes) {
    // Reads that fail leave the buffer holding the request: 0xFD, 0x00.
    const int display = fake_display::Plug();
    fake_display::SetReadFails(display, true);
    Scan();
    std::int32_t version = 0;
    ASSERT_TRUE(hid.ReadFirmwareVersion(version));
    EXPECT_EQ(version, 0xFD00);
    EXPECT_EQ(fake_display::FeatureReads(display), 1);  // byte 0 is still 7, so no second read
}

}  // namespace
