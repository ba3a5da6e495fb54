// The rules that turn raw entry fields into names, attributes and times.
#include <gtest/gtest.h>

#include "zip_builder.h"
#include "update/zip/zip_entry_fields.h"
#include "update/zip/zip_entry_name.h"
#include "update/zip/zip_file_layer.h"

namespace {

TEST(CleanEntryName, StripsAnchorsAndParentSequences) {
    const struct {
        const wchar_t* stored;
        const wchar_t* cleaned;
    } cases[] = {
        {L"plain.txt", L"plain.txt"},
        {L"C:/x/y.txt", L"x/y.txt"},
        {L"C:\\x\\y.txt", L"x\\y.txt"},
        {L"//x/y.txt", L"x/y.txt"},
        {L"\\\\x\\y.txt", L"x\\y.txt"},
        {L"a/../b.txt", L"b.txt"},
        {L"a/b/c/../d.txt", L"d.txt"},
        {L"a\\..\\b.txt", L"b.txt"},
        {L"a\\../b.txt", L"b.txt"},
        {L"a/..\\b.txt", L"b.txt"},
        {L"x/../y/../z", L"z"},
        // The rules repeat: what one step uncovers the next one strips.
        {L"C:/D:/\\x", L"x"},
        {L"a/../C:/b", L"b"},
        {L"C:foo/bar", L"foo/bar"},
        {L"\\\\server\\share\\x", L"server\\share\\x"},
        {L"\\\\?\\C:\\x", L"?\\C:\\x"},
        {L"a:b", L"b"},
        // Not caught by the rules; the safety check below refuses these.
        {L"..\\evil.exe", L"..\\evil.exe"},
        {L"../x", L"../x"},
        {L"../../x", L"x"},
        {L"CON", L"CON"},
        {L"nul.txt", L"nul.txt"},
        {L"", L""},
        {L":", L":"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CleanEntryName(c.stored), c.cleaned) << c.stored;
    }
}

TEST(IsSafeEntryName, RefusesWhatCouldLandOutsideOrSomewhereOdd) {
    const struct {
        const wchar_t* name;
        bool safe;
    } cases[] = {
        {L"setup.exe", true},
        {L"sub/file.txt", true},
        {L"sub\\deeper\\file.txt", true},
        {L"sub/", true},
        {L"a//b", true},
        {L"./a", true},
        {L"..a/b..c", true},
        {L"console.txt", true},
        {L"COM0", true},
        {L"COM10", true},
        {L"LPT", true},
        {L"Readme", true},
        {L"", false},
        {L"..", false},
        {L"..\\evil.exe", false},
        {L"../../x", false},
        {L"a/../../x", false},
        {L"a/..", false},
        {L"/etc/passwd", false},
        {L"\\\\server\\share\\x", false},
        {L"?\\C:\\x", false},
        {L"C:x", false},
        {L"a:b", false},
        {L"file.txt:stream", false},
        {L"a*b", false},
        {L"a?b", false},
        {L"a<b", false},
        {L"a|b", false},
        {L"a\"b", false},
        {L"tab\there", false},
        {L"bell\x07", false},
        {L"del\x7F", false},
        {L"trailing.", false},
        {L"trailing ", false},
        {L"... /x", false},
        {L"CON", false},
        {L"con", false},
        {L"nul.txt", false},
        {L"NUL .txt", false},
        {L"sub/aux.tar.gz", false},
        {L"prn/x", false},
        {L"conin$", false},
        {L"COM1", false},
        {L"com9.log", false},
        {L"LPT5", false},
        {L"COM\u00B9", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsSafeEntryName(c.name), c.safe) << c.name;
    }
    EXPECT_FALSE(IsSafeEntryName(std::wstring(L"nul\0byte", 8)));
}

TEST(DecodeAttributes, FollowsTheHostThatMadeTheEntry) {
    const struct {
        std::uint16_t versionMadeBy;
        std::uint32_t external;
        std::uint32_t attributes;
    } cases[] = {
        // DOS-like hosts keep the five bits and drop the rest.
        {0x0014, 0x00000021, 0x21},
        {0x0014, 0xFFFFFFFF, 0x37},
        {0x0714, 0x00000016, 0x16},
        {0x0B14, 0x00000010, 0x10},
        {0x0E14, 0x00000002, 0x02},
        // Unix: archive, plus read-only unless the owner may write, plus directory.
        {0x0314, 0x81A40000, 0x20},
        {0x0314, 0x81240000, 0x21},
        {0x0314, 0x41ED0010, 0x30},
        {0x0314, 0x416D0000, 0x31},
        {0x0314, 0x00000001, 0x21},
        {0x1E14, 0x81A40000, 0x20},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DecodeAttributes(c.versionMadeBy, c.external), c.attributes)
            << std::hex << c.versionMadeBy << " " << c.external;
    }
}

TEST(DecodeDosDateTime, ReadsTheFieldsAndRefusesImpossibleOnes) {
    const std::optional<CivilTime> time = DecodeDosDateTime((44 << 9) | (6 << 5) | 15, (13 << 11) | (45 << 5) | 15);
    ASSERT_TRUE(time);
    EXPECT_EQ(time->year, 2024);
    EXPECT_EQ(time->month, 6);
    EXPECT_EQ(time->day, 15);
    EXPECT_EQ(time->hour, 13);
    EXPECT_EQ(time->minute, 45);
    EXPECT_EQ(time->second, 30);

    const std::optional<CivilTime> last = DecodeDosDateTime(0xFF9F, (23 << 11) | (59 << 5) | 29);
    ASSERT_TRUE(last);
    EXPECT_EQ(last->year, 2107);
    EXPECT_EQ(last->second, 58);

    EXPECT_TRUE(DecodeDosDateTime((44 << 9) | (2 << 5) | 29, 0));   // 2024 is a leap year
    EXPECT_FALSE(DecodeDosDateTime((43 << 9) | (2 << 5) | 29, 0));  // 2023 is not
    EXPECT_FALSE(DecodeDosDateTime(0, 0));                          // month 0, day 0
    EXPECT_FALSE(DecodeDosDateTime((13 << 5) | 1, 0));              // month 13
    EXPECT_FALSE(DecodeDosDateTime((4 << 5) | 31, 0));              // 31 April
    EXPECT_FALSE(DecodeDosDateTime((1 << 5) | 1, 24 << 11));        // hour 24
    EXPECT_FALSE(DecodeDosDateTime((1 << 5) | 1, 60 << 5));         // minute 60
    EXPECT_FALSE(DecodeDosDateTime((1 << 5) | 1, 30));              // second 60
}

TEST(UnixSecondsToFileTime, CountsFrom1601InTicks) {
    EXPECT_EQ(UnixSecondsToFileTime(0), 116444736000000000u);
    EXPECT_EQ(UnixSecondsToFileTime(1), 116444736010000000u);
    EXPECT_EQ(UnixSecondsToFileTime(-1), 116444735990000000u);
    EXPECT_EQ(UnixSecondsToFileTime(-2147483647 - 1), 116444736000000000u - 21474836480000000u);
}

TEST(ApplyExtendedTimestamp, ReplacesOnlyTheFlaggedTimes) {
    constexpr std::uint64_t kDos = 1234;
    const auto apply = [](const std::string& extra) {
        ZipFileTimes times{kDos, kDos, kDos};
        ApplyExtendedTimestamp(extra, times);
        return times;
    };
    const std::uint64_t t1 = UnixSecondsToFileTime(1'000'000'000);
    const std::uint64_t t2 = UnixSecondsToFileTime(1'100'000'000);
    const std::uint64_t t3 = UnixSecondsToFileTime(1'200'000'000);
    std::string unknownBlock(
        "\x01\x00\x04\x00"
        "abcd",
        8);

    const struct {
        const char* what;
        std::string extra;
        ZipFileTimes expected;
    } cases[] = {
        {"modification only", ExtendedTimestampBlock(1'000'000'000), {kDos, kDos, t1}},
        {"all three", ExtendedTimestampBlock(1'000'000'000, 1'100'000'000, 1'200'000'000), {t3, t2, t1}},
        {"access only", ExtendedTimestampBlock(std::nullopt, 1'100'000'000), {kDos, t2, kDos}},
        {"after another block", unknownBlock + ExtendedTimestampBlock(1'000'000'000), {kDos, kDos, t1}},
        {"first block wins",
         ExtendedTimestampBlock(1'000'000'000) + ExtendedTimestampBlock(1'200'000'000),
         {kDos, kDos, t1}},
        {"no block", unknownBlock, {kDos, kDos, kDos}},
        {"too short to hold a block", std::string("UT\x01\x00", 4), {kDos, kDos, kDos}},
        // A flag promising a time the block does not hold reads nothing past it.
        {"flag without its time", std::string("UT\x01\x00\x01", 5), {kDos, kDos, kDos}},
        {"block longer than the field", std::string("UT\x09\x00\x01\x00\xCA\x9A", 8), {kDos, kDos, kDos}},
        {"second time missing", std::string("UT\x05\x00\x03\x00\xCA\x9A\x3B", 9), {kDos, kDos, t1}},
    };
    for (const auto& c : cases) {
        const ZipFileTimes times = apply(c.extra);
        EXPECT_EQ(times.creation, c.expected.creation) << c.what;
        EXPECT_EQ(times.access, c.expected.access) << c.what;
        EXPECT_EQ(times.modification, c.expected.modification) << c.what;
    }
}

}  // namespace

namespace {

TEST(IsInsideFolder, ResolvesThePathBeforeComparing) {
    const struct {
        const wchar_t* path;
        bool inside;
    } cases[] = {
        {L"/dest/a.txt", true},
        {L"/dest/sub/a.txt", true},
        {L"/dest/sub/../a.txt", true},
        {L"\\dest\\a.txt", true},
        {L"/dest/./a.txt", true},
        {L"/dest/../a.txt", false},
        {L"/dest/sub/../../a.txt", false},
        {L"/destination/a.txt", false},
        {L"/other/a.txt", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsInsideFolder(L"/dest/", c.path), c.inside) << c.path;
    }
    EXPECT_TRUE(IsInsideFolder(L"/dest", L"/dest/a.txt"));
    EXPECT_FALSE(IsInsideFolder(L"/dest", L"/dest2/a.txt"));
}

}  // namespace
