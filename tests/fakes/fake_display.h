#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Control side of the display emulator that stands in for hidapi in tests (no HID
// device can exist on the machines that run them). Each plugged display shows its
// vendor collection (usage page 0xFF01, usage 1) and optionally a second,
// keyboard-like collection, as separate interfaces, the way hidapi enumerates them.
namespace fake_display {

struct Options {
    std::uint16_t vendorId = 0x1A2C;
    std::uint16_t productId = 0x4984;
    std::uint16_t release = 0x0105;
    std::wstring product = L"Cooler Display";
    bool secondCollection = false;
    // The second collection's usage page and usage (a keyboard unless told).
    std::uint16_t secondUsagePage = 0x0001;
    std::uint16_t secondUsage = 0x0006;
    bool productStringFails = false;
    std::string pathOverride;  // replaces the generated path of the vendor collection
};

struct SentReport {
    std::vector<std::uint8_t> bytes;  // exactly the length passed to the send
};

// Plugs in a display; returns its id.
int Plug(const Options& options = {});
void Unplug(int display);
// Removes every display and forgets everything recorded.
void Reset();

// The two version bytes the display answers with (byte 1 and byte 2 after report id 7).
void SetVersion(int display, std::uint8_t high, std::uint8_t low);
// The next `count` answers carry `byte0` instead of report id 7, with byte 1 0xEE
// and byte 2 the ordinal of the feature read that produced them.
void SetStaleAnswers(int display, int count, std::uint8_t byte0);
void SetOpenFails(int display, bool fails);
void SetSendFails(int display, bool fails);
// Feature reads fail and leave the caller's buffer as it was.
void SetReadFails(int display, bool fails);
// Feature reads report only this many bytes (the answer is written whole all the same).
void SetAnswerLength(int display, int length);
// Feature reads block, like hidapi's Windows backend waiting on a display that never
// answers, until this is cleared or the display is unplugged; then they fail.
void SetReadHangs(int display, bool hangs);

// Feature reports sent to the vendor collection / the second collection.
std::vector<SentReport> SentReports(int display);
std::vector<SentReport> SentToSecondCollection(int display);
int FeatureReads(int display);
// Interfaces currently open through hid_open_path.
int OpenHandles();
std::string VendorCollectionPath(int display);

}  // namespace fake_display
