#include "pipeline/hid_device.h"

#include <gtest/gtest.h>

#include <chrono>

#include "fake_display.h"
#include "wait_until.h"

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
    // Each second collection differs from the vendor one (0xFF01, 1) in page, usage or both.
    const struct {
        std::uint16_t usagePage;
        std::uint16_t usage;
    } collections[] = {{0x0001, 0x0006}, {0xFF01, 0x0002}, {0xFF00, 0x0001}};
    for (const auto& collection : collections) {
        fake_display::Reset();
        const int display = fake_display::Plug(
            {.secondCollection = true, .secondUsagePage = collection.usagePage, .secondUsage = collection.usage});
        const int stranger = fake_display::Plug({.vendorId = 0x1A2C, .productId = 0x4985});
        Scan();
        EXPECT_EQ(hid.DeviceCount(), 1) << std::hex << collection.usagePage << " " << collection.usage;
        // The second collection was opened for the look and closed again.
        EXPECT_EQ(fake_display::OpenHandles(), 1);

        const DisplayReport report = SampleReport();
        hid.WriteAll(report.data());
        EXPECT_EQ(fake_display::SentReports(display).size(), 1u);
        EXPECT_TRUE(fake_display::SentToSecondCollection(display).empty());
        EXPECT_TRUE(fake_display::SentReports(stranger).empty());
    }
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

// A display that does not answer must not look like one with firmware 0xFD00, the
// request's own bytes: that would prompt for a firmware update at every start.
TEST_F(HidDeviceTest, OnlyAWholeAnswerNamingReport7Counts) {
    const struct {
        const char* what;
        int staleAnswers;
        bool readFails;
        int answerLength;
        bool answered;
        int reads;
    } cases[] = {
        {"answers at once", 0, false, -1, true, 1},
        {"first answer stale", 1, false, -1, true, 2},
        {"both answers stale", 5, false, -1, false, 2},
        {"reads fail", 0, true, -1, false, 2},
        {"answer too short for the version", 0, false, 2, false, 2},
        {"answer just long enough", 0, false, 3, true, 1},
    };
    for (const auto& c : cases) {
        fake_display::Reset();
        const int display = fake_display::Plug();
        fake_display::SetVersion(display, 0x01, 0x05);
        fake_display::SetStaleAnswers(display, c.staleAnswers, 0x06);
        fake_display::SetReadFails(display, c.readFails);
        fake_display::SetAnswerLength(display, c.answerLength);
        Scan();
        std::int32_t version = -1;
        EXPECT_EQ(hid.ReadFirmwareVersion(version), c.answered) << c.what;
        EXPECT_EQ(version, c.answered ? 0x0105 : -1) << c.what;
        EXPECT_EQ(fake_display::FeatureReads(display), c.reads) << c.what;  // never a third read
    }
}

// hidapi's Windows backend waits without a limit for a feature report.
TEST_F(HidDeviceTest, DisplayThatNeverAnswersIsLeftOutUntilTheNextScan) {
    const int silent = fake_display::Plug();
    const int other = fake_display::Plug();
    fake_display::SetVersion(other, 0x02, 0x01);
    fake_display::SetReadHangs(silent, true);
    Scan();
    ASSERT_EQ(hid.DeviceCount(), 2);

    std::int32_t version = -1;
    const auto started = Clock::now();
    EXPECT_FALSE(hid.ReadFirmwareVersion(version));
    const auto waited = Clock::now() - started;
    EXPECT_GE(waited, kVersionExchangeDeadline);
    EXPECT_LT(waited, kVersionExchangeDeadline + std::chrono::milliseconds(1500));
    EXPECT_EQ(version, -1);
    EXPECT_EQ(hid.DeviceCount(), 1);

    // The rest of the list works on; the silent display's handle stays open while
    // hidapi still waits on it.
    const DisplayReport report = SampleReport();
    EXPECT_TRUE(hid.WriteAll(report.data()));
    EXPECT_EQ(fake_display::SentReports(silent).size(), 1u);  // only the version request
    EXPECT_EQ(fake_display::SentReports(other).size(), 1u);
    ASSERT_TRUE(hid.ReadFirmwareVersion(version));
    EXPECT_EQ(version, 0x0201);
    EXPECT_EQ(fake_display::OpenHandles(), 2);

    // When hidapi gives up at last, the helper closes the handle it kept.
    fake_display::SetReadHangs(silent, false);
    EXPECT_TRUE(WaitUntil([] { return fake_display::OpenHandles() == 1; }));

    fake_display::SetVersion(silent, 0x01, 0x07);
    Scan();
    EXPECT_EQ(hid.DeviceCount(), 2);
    ASSERT_TRUE(hid.ReadFirmwareVersion(version));
    EXPECT_EQ(version, 0x0107);
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

}  // namespace
