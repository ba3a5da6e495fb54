// How attributes and times reach extracted files on POSIX: read-only clears the
// write bits, modification and access times are set, creation time has no place.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <ctime>

#include "update/zip/extract_zip.h"
#include "temp_folder.h"
#include "zip_builder.h"

namespace {

struct stat StatOf(const std::filesystem::path& path) {
    struct stat status {};
    EXPECT_EQ(::stat(path.c_str(), &status), 0) << path;
    return status;
}

TEST(ZipFileMetadata, ReadOnlyEntriesLoseTheirWriteBits) {
    TempFolder temp;
    ZipTestEntry dosReadOnly = ZipEntry("dos-ro.txt", "r");
    dosReadOnly.externalAttributes = 0x21;
    ZipTestEntry unixWritable = ZipEntry("unix-rw.txt", "w");
    unixWritable.versionMadeBy = 0x0314;
    unixWritable.externalAttributes = 0x81A40000;
    ZipTestEntry unixReadOnly = ZipEntry("unix-ro.txt", "r");
    unixReadOnly.versionMadeBy = 0x0314;
    unixReadOnly.externalAttributes = 0x81240000;
    const std::wstring archive = temp.WriteFile(
        "a.zip", BuildZip({.entries = {dosReadOnly, unixWritable, unixReadOnly, ZipEntry("plain", "p")}}));
    ASSERT_TRUE(ExtractZipToFolder(archive, temp.Wide("out")));
    const auto writeBits = [&](const char* name) { return StatOf(temp.Path() / "out" / name).st_mode & 0222; };
    EXPECT_EQ(writeBits("dos-ro.txt"), 0u);
    EXPECT_EQ(writeBits("unix-ro.txt"), 0u);
    EXPECT_NE(writeBits("unix-rw.txt"), 0u);
    EXPECT_NE(writeBits("plain"), 0u);
}

TEST(ZipFileMetadata, TimesComeFromTheExtendedTimestampOrTheDosFields) {
    TempFolder temp;
    ZipTestEntry stamped = ZipEntry("stamped.txt", "s");
    stamped.localExtra = ExtendedTimestampBlock(1'000'000'000, 1'100'000'000);
    ZipTestEntry dosOnly = ZipEntry("dos.txt", "d");
    ZipTestEntry modificationOnly = ZipEntry("mod.txt", "m");
    modificationOnly.localExtra = ExtendedTimestampBlock(1'200'000'000);
    ZipTestEntry empty = ZipEntry("empty.txt", "");
    empty.localExtra = ExtendedTimestampBlock(900'000'000);
    const std::wstring archive =
        temp.WriteFile("a.zip", BuildZip({.entries = {stamped, dosOnly, modificationOnly, empty}}));
    ASSERT_TRUE(ExtractZipToFolder(archive, temp.Wide("out")));

    const struct stat stampedStatus = StatOf(temp.Path() / "out" / "stamped.txt");
    EXPECT_EQ(stampedStatus.st_mtime, 1'000'000'000);
    EXPECT_EQ(stampedStatus.st_atime, 1'100'000'000);
    EXPECT_EQ(StatOf(temp.Path() / "out" / "empty.txt").st_mtime, 900'000'000);

    // The DOS fields are local time: read back in local time they must match.
    const auto localFields = [](std::time_t seconds) {
        std::tm fields{};
        ::localtime_r(&seconds, &fields);
        return fields;
    };
    const std::tm dos = localFields(StatOf(temp.Path() / "out" / "dos.txt").st_mtime);
    EXPECT_EQ(dos.tm_year + 1900, 2024);
    EXPECT_EQ(dos.tm_mon + 1, 6);
    EXPECT_EQ(dos.tm_mday, 15);
    EXPECT_EQ(dos.tm_hour, 13);
    EXPECT_EQ(dos.tm_min, 45);
    EXPECT_EQ(dos.tm_sec, 30);
    const struct stat modStatus = StatOf(temp.Path() / "out" / "mod.txt");
    EXPECT_EQ(modStatus.st_mtime, 1'200'000'000);
    const std::tm access = localFields(modStatus.st_atime);
    EXPECT_EQ(access.tm_year + 1900, 2024);
    EXPECT_EQ(access.tm_hour, 13);
    EXPECT_EQ(access.tm_min, 45);
}

}  // namespace
