// Attributes, the three file times and the file modes of extraction on Windows.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "base/win/handles.h"
#include "update/zip/extract_zip.h"
#include "temp_folder.h"
#include "wine_win.h"
#include "zip_builder.h"
#include "update/zip/zip_file_layer.h"
#include "update/zip/zip_reader.h"

using Thermolyx::IsInsideFolder;
using Thermolyx::ZipExtractResult;

namespace {

struct FileTimes {
    FILETIME creation{}, access{}, modification{};
};

FileTimes TimesOf(const std::wstring& path) {
    FileTimes times;
    Base::UniqueFileHandle file(::CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                              nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_TRUE(file);
    EXPECT_TRUE(::GetFileTime(file.Get(), &times.creation, &times.access, &times.modification));
    return times;
}

std::uint64_t Ticks(const FILETIME& time) {
    return (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

// Wine on Linux keeps no creation time of its own: it reports the modification time.
bool HostKeepsCreationTimes() { return !RunningUnderWine(); }

std::uint64_t UnixTicks(std::int64_t seconds) {
    return static_cast<std::uint64_t>(seconds * 10'000'000 + 116'444'736'000'000'000);
}

TEST(ZipFileMetadata, AttributesFollowTheHostThatMadeTheEntry) {
    TempFolder temp;
    const struct {
        const char* name;
        std::uint16_t versionMadeBy;
        std::uint32_t external;
        DWORD attributes;
    } cases[] = {
        {"dos-ro.txt", 0x0014, 0x21, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE},
        {"dos-plain.txt", 0x0014, 0x20, FILE_ATTRIBUTE_ARCHIVE},
        // No attribute at all: the system marks a new file for archiving itself.
        {"vfat-none.txt", 0x0B14, 0x00, FILE_ATTRIBUTE_ARCHIVE},
        {"unix-rw.txt", 0x0314, 0x81A40000, FILE_ATTRIBUTE_ARCHIVE},
        {"unix-ro.txt", 0x0314, 0x81240000, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE},
    };
    ZipTestArchive archive;
    for (const auto& c : cases) {
        ZipTestEntry entry = ZipEntry(c.name, "x");
        entry.versionMadeBy = c.versionMadeBy;
        entry.externalAttributes = c.external;
        archive.entries.push_back(entry);
    }
    ASSERT_TRUE(ExtractZipToFolder(temp.WriteFile("a.zip", BuildZip(archive)), temp.Wide("out")));
    for (const auto& c : cases) {
        EXPECT_EQ(::GetFileAttributesW(temp.Wide(std::string("out/") + c.name).c_str()), c.attributes) << c.name;
    }
}

TEST(ZipFileMetadata, AllThreeTimesAreSet) {
    TempFolder temp;
    ZipTestEntry stamped = ZipEntry("stamped.txt", "s");
    stamped.localExtra = ExtendedTimestampBlock(1'000'000'000, 1'100'000'000, 1'200'000'000);
    ZipTestEntry modificationOnly = ZipEntry("mod.txt", "m");
    modificationOnly.localExtra = ExtendedTimestampBlock(1'300'000'000);
    ZipTestEntry empty = ZipEntry("empty.txt", "");
    empty.method = 0;
    empty.localExtra = ExtendedTimestampBlock(900'000'000, 900'000'001, 900'000'002);
    ASSERT_TRUE(ExtractZipToFolder(temp.WriteFile("a.zip", BuildZip({.entries = {stamped, modificationOnly, empty}})),
                                   temp.Wide("out")));

    const FileTimes s = TimesOf(temp.Wide("out/stamped.txt"));
    EXPECT_EQ(Ticks(s.modification), UnixTicks(1'000'000'000));
    EXPECT_EQ(Ticks(s.access), UnixTicks(1'100'000'000));
    EXPECT_EQ(Ticks(s.creation), UnixTicks(HostKeepsCreationTimes() ? 1'200'000'000 : 1'000'000'000));
    const FileTimes e = TimesOf(temp.Wide("out/empty.txt"));
    EXPECT_EQ(Ticks(e.modification), UnixTicks(900'000'000));
    EXPECT_EQ(Ticks(e.access), UnixTicks(900'000'001));
    EXPECT_EQ(Ticks(e.creation), UnixTicks(HostKeepsCreationTimes() ? 900'000'002 : 900'000'000));

    // Access and creation keep the DOS time, which is local: read back in local time.
    const FileTimes m = TimesOf(temp.Wide("out/mod.txt"));
    EXPECT_EQ(Ticks(m.modification), UnixTicks(1'300'000'000));
    std::vector<FILETIME> dosTimes = {m.access};
    if (HostKeepsCreationTimes()) {
        dosTimes.push_back(m.creation);
    }
    for (const FILETIME& time : dosTimes) {
        SYSTEMTIME utc = {}, local = {};
        ASSERT_TRUE(::FileTimeToSystemTime(&time, &utc));
        ASSERT_TRUE(::SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local));
        EXPECT_EQ(local.wYear, 2024);
        EXPECT_EQ(local.wMonth, 6);
        EXPECT_EQ(local.wDay, 15);
        EXPECT_EQ(local.wHour, 13);
        EXPECT_EQ(local.wMinute, 45);
        EXPECT_EQ(local.wSecond, 30);
    }
}

TEST(ZipFileMetadata, ATargetThatCannotBeCreatedSkipsOnlyThatEntry) {
    TempFolder temp;
    temp.WriteFile("out/locked.txt", "old");
    // Held open without sharing, as a running program holds its files.
    Base::UniqueFileHandle holder(
        ::CreateFileW(temp.Wide("out/locked.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(holder);
    const std::string bytes = BuildZip({.entries = {ZipEntry("locked.txt", "new"), ZipEntry("fresh.txt", "new")}});
    const std::wstring archive = temp.WriteFile("a.zip", bytes);
    std::unique_ptr<ZipReader> reader = ZipReader::Open(archive);
    ASSERT_NE(reader, nullptr);
    reader->SetBaseFolder(temp.Wide("out"));
    EXPECT_EQ(reader->ExtractEntry(0, L"locked.txt"), ZipExtractResult::CannotCreate);
    EXPECT_EQ(reader->ExtractEntry(1, L"fresh.txt"), ZipExtractResult::Done);
    holder.Reset();
    EXPECT_EQ(ReadTree(temp.Path() / "out"),
              (std::map<std::string, std::string>{{"locked.txt", "old"}, {"fresh.txt", "new"}}));
}

TEST(ZipFileMetadata, FoldersCompareAsWindowsResolvesThem) {
    EXPECT_TRUE(IsInsideFolder(L"C:\\dest\\", L"C:\\DEST\\a.txt"));
    EXPECT_TRUE(IsInsideFolder(L"C:\\dest\\", L"c:/dest/sub/../a.txt"));
    EXPECT_FALSE(IsInsideFolder(L"C:\\dest\\", L"D:\\dest\\a.txt"));
    EXPECT_FALSE(IsInsideFolder(L"C:\\dest\\", L"\\\\server\\dest\\a.txt"));
}

TEST(ZipFileMetadata, TheArchiveIsSharedForReadingOnly) {
    TempFolder temp;
    const std::wstring archive = temp.WriteFile("a.zip", BuildZip({.entries = {ZipEntry("a.txt", "a")}}));
    std::unique_ptr<ZipReader> reader = ZipReader::Open(archive);
    ASSERT_NE(reader, nullptr);
    Base::UniqueFileHandle reading(
        ::CreateFileW(archive.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_TRUE(reading);
    Base::UniqueFileHandle writing(::CreateFileW(archive.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                                 nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_FALSE(writing);
}

TEST(ZipFileMetadata, AnArchiveHeldForWritingCannotBeOpened) {
    TempFolder temp;
    const std::wstring archive = temp.WriteFile("a.zip", BuildZip({.entries = {ZipEntry("a.txt", "a")}}));
    Base::UniqueFileHandle writer(::CreateFileW(archive.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                                nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(writer);
    EXPECT_FALSE(ExtractZipToFolder(archive, temp.Wide("out")));
}

}  // namespace
