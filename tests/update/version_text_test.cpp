#include "update/version_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(CompareVersions, AgainstTheCurrentVersion) {
    struct Case {
        const wchar_t* server;
        int expected;
    };
    // One case a line, each with its reason.
    // clang-format off
    const Case cases[] = {
        {L"1.0.0.2", 0},
        {L"1.0.0.10", 1},   // numbers, not text: 10 > 2
        {L"1.0.0.3", 1},
        {L"2.0.0.0", 1},
        {L"0.9.9.9", -1},   // the first differing part decides
        {L"1.0.0.1", -1},
        {L"1.0.1", 2},      // three parts against four
        {L"1.0.0.2.0", 2},
        {L"1", 2},
        {L"1.0.0.", -1},    // an empty last part reads as 0
        {L"1..0.2", 0},     // an empty part reads as 0
        {L"1.0.0.2x", 0},   // digits up to the first other character
        {L"1.0.0. +3", 1},  // blanks and a sign before the digits
    };
    // clang-format on
    for (const Case& c : cases) {
        EXPECT_EQ(CompareVersions(L"1.0.0.2", c.server), c.expected) << c.server;
    }
}

TEST(CompareVersions, TakesAnyCurrentVersion) {
    EXPECT_EQ(CompareVersions(L"1.0.0.10", L"1.0.0.2"), -1);
    EXPECT_EQ(CompareVersions(L"", L""), 0);
    EXPECT_EQ(CompareVersions(L"1.0", L"1"), 2);
}

TEST(VersionTexts, OnlyDigitsAndDotsUpToTenCharactersAreAccepted) {
    struct Case {
        std::wstring text;
        bool software;
        bool firmware;
    };
    // One case a line, each with its reason.
    // clang-format off
    const Case cases[] = {
        {L"1.0.0.10", true, false},
        {L"1.0.1", true, false},
        {L"105", true, true},
        {L"9999999999", true, true},       // ten characters
        {L"99999999999", false, false},    // eleven
        {L"1.0.0.1000", true, false},
        {L"1.0.0.10000", false, false},
        {L"", false, false},
        {L"..\\..\\x", false, false},      // must never become a path
        {L"../x", false, false},
        {L"1.0/../x", false, false},
        {L"1.0.0.3\n", false, false},      // a line break would go into the file name
        {L" 105", false, false},
        {L"-1", false, false},
        {L"1.0.0.3a", false, false},
        {L"1:0", false, false},
        {L"10%2F", false, false},
        {L"\uFF11", false, false},         // a full-width digit is no decimal digit
        {std::wstring(L"1\0" L"2", 3), false, false},
    };
    // clang-format on
    for (const Case& c : cases) {
        EXPECT_EQ(IsAcceptedSoftwareVersion(c.text), c.software) << testing::PrintToString(c.text);
        EXPECT_EQ(IsAcceptedFirmwareVersion(c.text), c.firmware) << testing::PrintToString(c.text);
    }
}

TEST(IsFirmwareNewer, ReadsTheDisplaysHexadecimalDigitsAsADecimalNumber) {
    struct Case {
        const wchar_t* server;
        std::int32_t device;
        bool newer;
    };
    // One case a line, each with its reason.
    // clang-format off
    const Case cases[] = {
        {L"106", 0x0105, true},
        {L"105", 0x0105, false},
        {L"104", 0x0105, false},
        {L"200", 0x0110, true},     // "110"
        {L"110", 0x0110, false},
        {L"999", -1, false},        // no display answered
        {L"999", -2, false},
        {L"1", 0, true},            // "0"
        {L"0", 0, false},
        {L"1", 0xFD00, true},       // "fd00" has no leading digits and reads as 0
        {L"2", 0x1A, true},         // "1a" reads as 1
        {L"1", 0x1A, false},
        {L"10000", 0xFFFF, true},   // "ffff" reads as 0
    };
    // clang-format on
    for (const Case& c : cases) {
        EXPECT_EQ(IsFirmwareNewer(c.server, c.device), c.newer) << c.server << " against " << std::hex << c.device;
    }
}

}  // namespace
