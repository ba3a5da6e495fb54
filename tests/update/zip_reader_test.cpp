// The reader and the extraction on archives built by the tests, natively and
// under Wine alike.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>
#include <string>

#include "symbolic_link.h"
#include "update/zip/extract_zip.h"
#include "temp_folder.h"
#include "zip_builder.h"
#include "update/zip/zip_reader.h"

namespace {

using Tree = std::map<std::string, std::string>;

// Text that deflates well but not trivially, so entries span several pieces.
std::string SampleText(std::size_t size, unsigned seed = 1) {
    std::string text;
    text.reserve(size);
    unsigned state = seed;
    while (text.size() < size) {
        state = state * 1103515245u + 12345u;
        text += "sample-" + std::to_string((state >> 16) % 1000) + (state & 0x100 ? "\n" : " ");
    }
    text.resize(size);
    return text;
}

ZipTestEntry Folder(std::string name) {
    ZipTestEntry entry = ZipEntry(std::move(name), "", 0);
    entry.externalAttributes = 0x10;
    return entry;
}

class ZipTest : public ::testing::Test {
protected:
    // Writes the archive and extracts it into "out"; the extractor's answer.
    bool Extract(const ZipTestArchive& archive) { return Extract(BuildZip(archive)); }
    bool Extract(const std::string& bytes) {
        return ExtractZipToFolder(temp_.WriteFile("archive.zip", bytes), temp_.Wide("out"));
    }
    std::unique_ptr<ZipReader> Open(const std::string& bytes) {
        return ZipReader::Open(temp_.WriteFile("archive.zip", bytes));
    }
    Tree Output() const { return ReadTree(temp_.Path() / "out"); }
    // Everything in the scratch folder except the archive: nothing may land beside "out".
    Tree Everything() const {
        Tree tree = ReadTree(temp_.Path());
        tree.erase("archive.zip");
        return tree;
    }

    TempFolder temp_;
};

TEST_F(ZipTest, ExtractsStoredAndDeflatedEntriesIntoFolders) {
    const std::string big = SampleText(100'000);
    static constexpr char kBinary[] = "\0\x01\xFF\x7F zero\0bytes";
    const std::string binary(kBinary, sizeof kBinary - 1);
    ZipTestArchive archive;
    archive.entries = {ZipEntry("readme.txt", "hello", 0), ZipEntry("bin/setup.exe", big),
                       ZipEntry("bin/data/blob", binary, 0), ZipEntry("deep/er/still/x.txt", SampleText(20'000, 7))};
    ASSERT_TRUE(Extract(archive));
    EXPECT_EQ(Output(), (Tree{{"readme.txt", "hello"},
                              {"bin/", ""},
                              {"bin/setup.exe", big},
                              {"bin/data/", ""},
                              {"bin/data/blob", binary},
                              {"deep/", ""},
                              {"deep/er/", ""},
                              {"deep/er/still/", ""},
                              {"deep/er/still/x.txt", SampleText(20'000, 7)}}));
}

TEST_F(ZipTest, ReadsArchivesBehindOtherDataAndWithComments) {
    const struct {
        const char* what;
        std::size_t prefix;
        std::size_t comment;
    } cases[] = {
        {"self-extracting stub in front", 70'000, 0},
        {"2,000-byte comment", 0, 2'000},
        // Records across the boundary of two search blocks: only their overlap holds them whole.
        {"record across the first block boundary", 0, 1'007},
        {"record across the first block boundary", 0, 1'008},
        {"record across the first block boundary", 0, 1'009},
        {"record across the second block boundary", 0, 2'031},
        {"record across the second block boundary", 0, 2'032},
        {"record across the second block boundary", 0, 2'033},
        {"longest comment the search reaches", 0, 65'513},
        {"stub and comment", 1'234, 3'000},
    };
    for (const auto& c : cases) {
        ZipTestArchive archive;
        archive.prefix = "MZ" + std::string(c.prefix > 2 ? c.prefix - 2 : 0, '\x90');
        archive.comment = std::string(c.comment, 'c');
        archive.entries = {ZipEntry("a.txt", "first"), ZipEntry("b/c.txt", SampleText(30'000), 0)};
        std::filesystem::remove_all(temp_.Path() / "out");
        ASSERT_TRUE(Extract(archive)) << c.what << " " << c.comment;
        EXPECT_EQ(Output(), (Tree{{"a.txt", "first"}, {"b/", ""}, {"b/c.txt", SampleText(30'000)}})) << c.what;
    }
}

TEST_F(ZipTest, RefusesFilesWithoutAUsableDirectoryEnd) {
    const std::string good = BuildZip({.entries = {ZipEntry("a.txt", "x")}});
    const std::size_t record = good.size() - 22;
    const auto patched = [&](std::size_t offset, std::uint16_t value) {
        std::string bytes = good;
        PutLe16(bytes, record + offset, value);
        return bytes;
    };
    ZipTestArchive farComment{.entries = {ZipEntry("a.txt", "x")}, .comment = std::string(65'514, 'c')};
    ZipTestArchive farTrailing{.entries = {ZipEntry("a.txt", "x")}, .trailing = std::string(65'600, 't')};
    const struct {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"empty file", ""},
        {"three bytes", "PK\x05"},
        {"no record", std::string(5'000, 'z')},
        {"record cut short", good.substr(0, good.size() - 4)},
        {"comment of 65,514 bytes", BuildZip(farComment)},
        {"65,600 bytes after the record", BuildZip(farTrailing)},
        {"second disk", patched(4, 1)},
        {"directory on another disk", patched(6, 1)},
        {"entry counts differ", patched(8, 2)},
        {"directory reaching past the record",
         [&] {
             std::string bytes = good;
             PutLe32(bytes, record + 12, 1'000);
             return bytes;
         }()},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Open(c.bytes), nullptr) << c.what;
        EXPECT_FALSE(Extract(c.bytes)) << c.what;
        EXPECT_EQ(Everything(), Tree{}) << c.what;
    }
    EXPECT_FALSE(ExtractZipToFolder(temp_.Wide("missing.zip"), temp_.Wide("out")));
    EXPECT_FALSE(ExtractZipToFolder(temp_.Wide(), temp_.Wide("out")));  // a folder, not a file
    EXPECT_EQ(Everything(), Tree{});
}

TEST_F(ZipTest, TheRecordNearestTheEndIsTheOneRead) {
    // A whole archive as the comment of another: its record is the last in the file,
    // and its offsets are shifted by everything in front of it.
    const std::string inner = BuildZip({.entries = {ZipEntry("inner.txt", "inner")}});
    const std::string outer =
        BuildZip({.entries = {ZipEntry("o1.txt", "1"), ZipEntry("o2.txt", "2")}, .comment = inner});
    ASSERT_TRUE(Extract(outer));
    EXPECT_EQ(Output(), (Tree{{"inner.txt", "inner"}}));
}

TEST_F(ZipTest, AnArchiveWithoutEntriesOpensAndWritesNothing) {
    ASSERT_TRUE(Extract(ZipTestArchive{}));
    EXPECT_EQ(Output(), Tree{});
}

TEST_F(ZipTest, GetEntryDescribesEntriesInAnyOrder) {
    ZipTestArchive archive;
    archive.entries = {ZipEntry("C:/x/y.txt", "one"), ZipEntry("sub/two.bin", std::string(300, 'b'), 0),
                       ZipEntry("a/b/c/../d.txt", "three")};
    archive.entries[1].versionMadeBy = 0x0314;
    archive.entries[1].externalAttributes = 0x81240000;
    std::unique_ptr<ZipReader> reader = Open(BuildZip(archive));
    ASSERT_NE(reader, nullptr);

    ZipEntryInfo info;
    info.name = L"stale";
    ASSERT_TRUE(reader->GetEntry(-1, info));
    EXPECT_EQ(info.index, 3);
    EXPECT_EQ(reader->EntryCount(), 3);
    EXPECT_EQ(info.name, L"");
    EXPECT_EQ(info.attributes, 0u);
    EXPECT_EQ(info.modificationTime, 0u);
    EXPECT_EQ(info.uncompressedSize, 0);

    for (const std::int32_t index : {2, 0, 1, 1, 2, 0}) {
        ASSERT_TRUE(reader->GetEntry(index, info)) << index;
        EXPECT_EQ(info.index, index);
    }
    EXPECT_EQ(info.name, L"x/y.txt");
    EXPECT_EQ(info.attributes, 0x20u);
    EXPECT_EQ(info.uncompressedSize, 3);
    ASSERT_TRUE(reader->GetEntry(1, info));
    EXPECT_EQ(info.name, L"sub/two.bin");
    EXPECT_EQ(info.attributes, 0x21u);
    EXPECT_EQ(info.compressedSize, 300);
    EXPECT_EQ(info.uncompressedSize, 300);
    ASSERT_TRUE(reader->GetEntry(2, info));
    EXPECT_EQ(info.name, L"d.txt");
    EXPECT_NE(info.modificationTime, 0u);
    EXPECT_EQ(info.creationTime, info.modificationTime);
    EXPECT_EQ(info.accessTime, info.modificationTime);

    for (const std::int32_t index : {-2, 3, 1000}) {
        EXPECT_FALSE(reader->GetEntry(index, info)) << index;
        EXPECT_EQ(reader->ExtractEntry(index, L"x"), ZipExtractResult::BadIndex) << index;
    }
}

TEST_F(ZipTest, AnImpossibleDosDateLeavesTheTimesUnset) {
    ZipTestEntry undated = ZipEntry("undated.txt", "u");
    undated.dosDate = 0;  // month 0, day 0
    ZipTestEntry stamped = undated;
    stamped.name = "stamped.txt";
    stamped.localExtra = ExtendedTimestampBlock(1'000'000'000);
    std::unique_ptr<ZipReader> reader = Open(BuildZip({.entries = {undated, stamped}}));
    ASSERT_NE(reader, nullptr);
    ZipEntryInfo info;
    ASSERT_TRUE(reader->GetEntry(0, info));
    EXPECT_EQ(info.modificationTime, 0u);
    EXPECT_EQ(info.accessTime, 0u);
    EXPECT_EQ(info.creationTime, 0u);
    ASSERT_TRUE(reader->GetEntry(1, info));
    EXPECT_EQ(info.modificationTime, 116444736000000000u + 10'000'000'000'000'000u);
    EXPECT_EQ(info.accessTime, 0u);
    reader->SetBaseFolder(temp_.Wide("out"));
    EXPECT_EQ(reader->ExtractEntry(0, L"undated.txt"), ZipExtractResult::Done);
    EXPECT_EQ(Output(), (Tree{{"undated.txt", "u"}}));
}

TEST_F(ZipTest, BaseFolderAlwaysEndsInASeparator) {
    std::unique_ptr<ZipReader> reader = Open(BuildZip({}));
    ASSERT_NE(reader, nullptr);
    const wchar_t last = reader->BaseFolder().back();
    EXPECT_TRUE(last == L'\\' || last == L'/');
    reader->SetBaseFolder(L"dest");
    EXPECT_EQ(reader->BaseFolder(), L"dest\\");
    reader->SetBaseFolder(L"dest/");
    EXPECT_EQ(reader->BaseFolder(), L"dest/");
    reader->SetBaseFolder(L"dest\\");
    EXPECT_EQ(reader->BaseFolder(), L"dest\\");
}

TEST_F(ZipTest, CleanedNamesLandBelowTheDestination) {
    ZipTestArchive archive;
    archive.entries = {ZipEntry("C:/x/y.txt", "1"), ZipEntry("//x/z.txt", "2"),      ZipEntry("\\\\w\\v.txt", "3"),
                       ZipEntry("a/../b.txt", "4"), ZipEntry("a/b/c/../d.txt", "5"), ZipEntry("C:foo/bar", "6")};
    ASSERT_TRUE(Extract(archive));
    EXPECT_EQ(Output(), (Tree{{"x/", ""},
                              {"x/y.txt", "1"},
                              {"x/z.txt", "2"},
                              {"w/", ""},
                              {"w/v.txt", "3"},
                              {"b.txt", "4"},
                              {"d.txt", "5"},
                              {"foo/", ""},
                              {"foo/bar", "6"}}));
}

TEST_F(ZipTest, HostileNamesAreRefusedAndNothingIsWrittenForThem) {
    const char* hostile[] = {"..\\evil.exe", "../x",         "sub/../../up.txt", "..",   "x/a:b",    "file.txt:ads",
                             "CON",          "nul.txt",      "sub/aux.log",      "COM3", "lpt1.txt", "ctrl\x01.txt",
                             "trailing.",    "\\\\?\\C:\\x", "what?.txt",        "a*"};
    ZipTestArchive archive;
    for (const char* name : hostile) {
        archive.entries.push_back(ZipEntry(name, "evil"));
    }
    archive.entries.push_back(ZipEntry("good.txt", "good"));
    const std::string bytes = BuildZip(archive);
    ASSERT_TRUE(Extract(bytes));
    EXPECT_EQ(Everything(), (Tree{{"out/", ""}, {"out/good.txt", "good"}}));

    std::unique_ptr<ZipReader> reader = Open(bytes);
    ASSERT_NE(reader, nullptr);
    reader->SetBaseFolder(temp_.Wide("out"));
    for (std::int32_t i = 0; i < static_cast<std::int32_t>(std::size(hostile)); ++i) {
        ZipEntryInfo info;
        ASSERT_TRUE(reader->GetEntry(i, info)) << hostile[i];
        EXPECT_EQ(reader->ExtractEntry(i, info.name), ZipExtractResult::RefusedName) << hostile[i];
    }
    // The name given to ExtractEntry is checked too, not only what GetEntry produced.
    EXPECT_EQ(reader->ExtractEntry(static_cast<std::int32_t>(std::size(hostile)), L"/abs.txt"),
              ZipExtractResult::RefusedName);
    EXPECT_EQ(reader->ExtractEntry(static_cast<std::int32_t>(std::size(hostile)), L"..\\up.txt"),
              ZipExtractResult::RefusedName);
    EXPECT_EQ(Everything(), (Tree{{"out/", ""}, {"out/good.txt", "good"}}));
}

// The names of the entries directly in `folder`, as the file system spells them.
std::set<std::u8string> NamesIn(const std::filesystem::path& folder) {
    std::set<std::u8string> names;
    for (const auto& item : std::filesystem::directory_iterator(folder)) {
        names.insert(item.path().filename().u8string());
    }
    return names;
}

// Flag bit 11 marks a UTF-8 name (7-Zip, bsdtar and Python set it); Unix packers
// that do not say store UTF-8 all the same. Other names keep the ANSI code page.
TEST_F(ZipTest, NamesAreDecodedAsTheirPackerWroteThem) {
    const auto entry = [](std::string name, std::uint16_t flags, std::uint16_t versionMadeBy) {
        ZipTestEntry made = ZipEntry(std::move(name), "x");
        made.flags = flags;
        made.versionMadeBy = versionMadeBy;
        return made;
    };
    constexpr std::uint16_t kDos = 0x0014;
    constexpr std::uint16_t kUnix = 0x031E;
    ZipTestEntry markedFolder = entry("d\xC3\xA9j\xC3\xA0/", 0x0800, kDos);
    markedFolder.externalAttributes = 0x10;
    ZipTestArchive archive;
    archive.entries = {entry("\xC3\xBCn\xC3\xAF"
                             "code-\xE5\x90\x8D\xE5\x89\x8D.txt",
                             0x0800, kDos),
                       markedFolder,
                       entry("d\xC3\xA9j\xC3\xA0/\xF0\x9F\x99\x82.txt", 0x0800, kDos),
                       entry("unix-\xC3\xA9t\xC3\xA9.txt", 0, kUnix),  // Info-ZIP zip 3.0
                       entry("ansi-\xE9t\xE9.txt", 0, kDos),           // a Windows packer, code page 1252
                       entry("unix-latin-\xE9.txt", 0, kUnix),         // not UTF-8: the code page again
                       entry("plain.txt", 0, kDos)};
    ASSERT_TRUE(Extract(archive));

    const std::filesystem::path out = temp_.Path() / "out";
    EXPECT_EQ(NamesIn(out), (std::set<std::u8string>{u8"\u00FCn\u00EFcode-\u540D\u524D.txt", u8"d\u00E9j\u00E0",
                                                     u8"unix-\u00E9t\u00E9.txt", u8"ansi-\u00E9t\u00E9.txt",
                                                     u8"unix-latin-\u00E9.txt", u8"plain.txt"}));
    EXPECT_EQ(NamesIn(out / u8"d\u00E9j\u00E0"), (std::set<std::u8string>{u8"\U0001F642.txt"}));

    std::unique_ptr<ZipReader> reader = Open(BuildZip(archive));
    ASSERT_NE(reader, nullptr);
    ZipEntryInfo info;
    ASSERT_TRUE(reader->GetEntry(0, info));
    EXPECT_EQ(info.name, L"\u00FCn\u00EFcode-\u540D\u524D.txt");
}

TEST_F(ZipTest, ANameMarkedUtf8ThatIsNotIsRefused) {
    const char* broken[] = {"caf\xE9.txt", "\xC0\xAF.txt", "a\xED\xA0\x80.txt", "cut\xE5\x90"};
    ZipTestArchive archive;
    for (const char* name : broken) {
        ZipTestEntry entry = ZipEntry(name, "bad");
        entry.flags = 0x0800;
        archive.entries.push_back(entry);
    }
    archive.entries.push_back(ZipEntry("good.txt", "good"));
    const std::string bytes = BuildZip(archive);
    ASSERT_TRUE(Extract(bytes));
    EXPECT_EQ(Output(), (Tree{{"good.txt", "good"}}));
    std::unique_ptr<ZipReader> reader = Open(bytes);
    for (std::int32_t i = 0; i < static_cast<std::int32_t>(std::size(broken)); ++i) {
        ZipEntryInfo info;
        EXPECT_FALSE(reader->GetEntry(i, info)) << broken[i];
    }
}

// The last check before a file is made: where the joined path resolves to.
TEST_F(ZipTest, ANameThatResolvesToTheDestinationItselfIsRefused) {
    const std::string bytes = BuildZip({.entries = {ZipEntry(".", "dot")}});
    std::unique_ptr<ZipReader> reader = Open(bytes);
    ASSERT_NE(reader, nullptr);
    reader->SetBaseFolder(temp_.Wide("out"));
    ZipEntryInfo info;
    ASSERT_TRUE(reader->GetEntry(0, info));
    ASSERT_EQ(info.name, L".");
#ifdef _WIN32
    EXPECT_EQ(reader->ExtractEntry(0, info.name), ZipExtractResult::RefusedName);
#else
    EXPECT_NE(reader->ExtractEntry(0, info.name), ZipExtractResult::Done);
#endif
    Tree written = Everything();
    written.erase("out/");  // the destination itself may have been made
    EXPECT_TRUE(written.empty());
}

// A link inside the destination passes every name check; what it leads to must not.
TEST_F(ZipTest, LinksInsideTheDestinationDoNotLeadOutOfIt) {
    std::filesystem::create_directories(temp_.Path() / "out");
    std::filesystem::create_directories(temp_.Path() / "outside");
    temp_.WriteFile("outside/victim.txt", "untouched");
    ASSERT_TRUE(MakeSymbolicLink(temp_.Path() / "outside", temp_.Path() / "out" / "link", true));
    ASSERT_TRUE(
        MakeSymbolicLink(temp_.Path() / "outside" / "victim.txt", temp_.Path() / "out" / "file-link.txt", false));

    ZipTestArchive archive;
    archive.entries = {ZipEntry("link/planted.txt", "evil"),
                       ZipEntry("link/deeper/planted.txt", "evil"),
                       Folder("link/made/"),
                       ZipEntry("link/victim.txt", "evil"),
                       ZipEntry("file-link.txt", "evil"),
                       ZipEntry("inside/ok.txt", "ok")};
    ASSERT_TRUE(Extract(archive));
    EXPECT_EQ(ReadTree(temp_.Path() / "outside"), (Tree{{"victim.txt", "untouched"}}));
    EXPECT_EQ(ReadTree(temp_.Path() / "out" / "inside"), (Tree{{"ok.txt", "ok"}}));
}

TEST_F(ZipTest, OverlongNamesAndPathsAreRefused) {
    ZipTestArchive archive;
    archive.entries = {ZipEntry(std::string(260, 'n'), "too long"), ZipEntry(std::string(250, 'p'), "path too long"),
                       ZipEntry("ok.txt", "ok")};
    ASSERT_TRUE(Extract(archive));
    EXPECT_EQ(Output(), (Tree{{"ok.txt", "ok"}}));
    std::unique_ptr<ZipReader> reader = Open(BuildZip(archive));
    ZipEntryInfo info;
    EXPECT_FALSE(reader->GetEntry(0, info));
    ASSERT_TRUE(reader->GetEntry(1, info));
    reader->SetBaseFolder(temp_.Wide("out"));
    EXPECT_EQ(reader->ExtractEntry(1, info.name), ZipExtractResult::RefusedName);
}

TEST_F(ZipTest, DirectoryEntriesAndEmptyFiles) {
    ZipTestArchive archive;
    archive.entries = {Folder("sub/"), Folder("empty/deeper/"), ZipEntry("sub/file.txt", "in sub"),
                       ZipEntry("zero.txt", "", 0), ZipEntry("zero-deflated.txt", "", 8)};
    ZipTestEntry unixFolder = ZipEntry("unix-dir", "", 0);
    unixFolder.versionMadeBy = 0x0314;
    unixFolder.externalAttributes = 0x41ED0000;
    archive.entries.push_back(unixFolder);
    ASSERT_TRUE(Extract(archive));
    EXPECT_EQ(Output(), (Tree{{"sub/", ""},
                              {"sub/file.txt", "in sub"},
                              {"empty/", ""},
                              {"empty/deeper/", ""},
                              {"zero.txt", ""},
                              {"zero-deflated.txt", ""},
                              {"unix-dir/", ""}}));
}

TEST_F(ZipTest, CreatesTheDestinationButNotItsParents) {
    const std::string bytes = BuildZip({.entries = {ZipEntry("a.txt", "a")}});
    const std::wstring archive = temp_.WriteFile("archive.zip", bytes);
    EXPECT_TRUE(ExtractZipToFolder(archive, temp_.Wide("fresh")));
    EXPECT_EQ(ReadTree(temp_.Path() / "fresh"), (Tree{{"a.txt", "a"}}));
    EXPECT_TRUE(ExtractZipToFolder(archive, temp_.Wide("no/such/parent")));
    EXPECT_FALSE(std::filesystem::exists(temp_.Path() / "no"));
}

TEST_F(ZipTest, AnExistingFileIsReplaced) {
    temp_.WriteFile("out/a.txt", std::string(10'000, 'o'));
    ASSERT_TRUE(Extract({.entries = {ZipEntry("a.txt", "new")}}));
    EXPECT_EQ(Output(), (Tree{{"a.txt", "new"}}));
}

TEST_F(ZipTest, LocalHeadersThatDisagreeSkipTheEntry) {
    const auto with = [](auto change) {
        ZipTestEntry entry = ZipEntry("bad.txt", "content");
        change(entry);
        return entry;
    };
    const struct {
        const char* what;
        ZipTestEntry entry;
    } cases[] = {
        {"signature", with([](ZipTestEntry& e) { e.localSignature = 0x04034b51; })},
        {"method", with([](ZipTestEntry& e) { e.localMethod = 0; })},
        {"CRC-32", with([](ZipTestEntry& e) { e.localCrc = 1; })},
        {"compressed size", with([](ZipTestEntry& e) { e.localCompressedSize = 3; })},
        {"uncompressed size", with([](ZipTestEntry& e) { e.localUncompressedSize = 3; })},
        {"name length", with([](ZipTestEntry& e) { e.localName = "bad.txtx"; })},
        {"unsupported method", with([](ZipTestEntry& e) {
             e.method = 12;
             e.storedPayload = "not bzip2";
         })},
    };
    for (const auto& c : cases) {
        std::filesystem::remove_all(temp_.Path() / "out");
        ASSERT_TRUE(Extract({.entries = {c.entry, ZipEntry("good.txt", "good")}})) << c.what;
        EXPECT_EQ(Output(), (Tree{{"good.txt", "good"}})) << c.what;
        std::unique_ptr<ZipReader> reader = Open(BuildZip({.entries = {c.entry}}));
        ZipEntryInfo info;
        EXPECT_FALSE(reader->GetEntry(0, info)) << c.what;
        EXPECT_EQ(reader->ExtractEntry(0, L"bad.txt"), ZipExtractResult::UnreadableEntry) << c.what;
    }
}

TEST_F(ZipTest, ADataDescriptorExcusesTheLocalHeaderFields) {
    ZipTestEntry entry = ZipEntry("streamed.txt", SampleText(40'000));
    entry.dataDescriptor = true;
    ZipTestEntry stored = ZipEntry("stored.txt", "stored", 0);
    stored.dataDescriptor = true;
    ASSERT_TRUE(Extract({.entries = {entry, stored}}));
    EXPECT_EQ(Output(), (Tree{{"streamed.txt", SampleText(40'000)}, {"stored.txt", "stored"}}));
}

TEST_F(ZipTest, DamagedDataFailsTheEntryAndRemovesItsFile) {
    const std::string text = SampleText(60'000, 3);
    const std::string deflated = Deflate(text);
    const auto damaged = [&](auto change) {
        ZipTestEntry entry = ZipEntry("damaged.bin", text);
        change(entry);
        return entry;
    };
    std::string flipped = deflated;
    flipped[flipped.size() / 2] = static_cast<char>(flipped[flipped.size() / 2] ^ 0x10);
    const struct {
        const char* what;
        ZipTestEntry entry;
    } cases[] = {
        {"corrupted deflated byte", damaged([&](ZipTestEntry& e) { e.storedPayload = flipped; })},
        {"corrupted stored byte", damaged([&](ZipTestEntry& e) {
             e.method = 0;
             e.storedPayload = text;
             (*e.storedPayload)[40'000] ^= 0x01;
         })},
        {"wrong CRC-32", damaged([](ZipTestEntry& e) { e.recordedCrc = Crc32(e.data) ^ 1; })},
        {"stream ends before the size",
         damaged([](ZipTestEntry& e) { e.recordedUncompressedSize = static_cast<std::uint32_t>(e.data.size() + 1); })},
        {"stream runs past the size",
         damaged([](ZipTestEntry& e) { e.recordedUncompressedSize = static_cast<std::uint32_t>(e.data.size() - 1); })},
        {"compressed data cut short",
         damaged([&](ZipTestEntry& e) { e.storedPayload = deflated.substr(0, deflated.size() / 2); })},
        {"stored sizes differ", damaged([&](ZipTestEntry& e) {
             e.method = 0;
             e.storedPayload = text + "extra";
         })},
        {"not deflate data", damaged([](ZipTestEntry& e) { e.storedPayload = std::string(5'000, '\xFF'); })},
    };
    for (const auto& c : cases) {
        std::filesystem::remove_all(temp_.Path() / "out");
        const std::string bytes = BuildZip({.entries = {c.entry, ZipEntry("after.txt", "after")}});
        ASSERT_TRUE(Extract(bytes)) << c.what;
        EXPECT_EQ(Output(), (Tree{{"after.txt", "after"}})) << c.what;

        std::unique_ptr<ZipReader> reader = Open(bytes);
        reader->SetBaseFolder(temp_.Wide("out"));
        ZipEntryInfo info;
        ASSERT_TRUE(reader->GetEntry(0, info)) << c.what;
        EXPECT_EQ(reader->ExtractEntry(0, info.name), ZipExtractResult::Damaged) << c.what;
        EXPECT_FALSE(std::filesystem::exists(temp_.Path() / "out" / "damaged.bin")) << c.what;
    }
}

TEST_F(ZipTest, AnEntryCutOffByTheEndOfTheFileIsDamage) {
    // The local header is whole but its data runs past the end of the archive file.
    const std::string bytes = BuildZip({.entries = {ZipEntry("cut.txt", SampleText(30'000), 0)}});
    std::string record = bytes.substr(bytes.size() - 22);
    std::string cut = bytes.substr(0, 30 + 7 + 1'000);
    PutLe32(record, 16, static_cast<std::uint32_t>(cut.size()));
    const std::string directory = bytes.substr(bytes.size() - 22 - (46 + 7), 46 + 7);
    cut += directory + record;
    ASSERT_TRUE(Extract(cut));
    EXPECT_EQ(Output(), Tree{});
}

TEST_F(ZipTest, EncryptedEntriesAreNotExtracted) {
    ZipTestEntry secret = ZipEntry("sealed/secret.txt", "password protected");
    secret.flags = 0x0001;
    secret.storedPayload = std::string(12, '\x5A') + Deflate(secret.data);
    ZipTestArchive archive{.entries = {secret, ZipEntry("open.txt", "open")}};
    ASSERT_TRUE(Extract(archive));
    EXPECT_EQ(Output(), (Tree{{"open.txt", "open"}}));
    std::unique_ptr<ZipReader> reader = Open(BuildZip(archive));
    reader->SetBaseFolder(temp_.Wide("out"));
    EXPECT_EQ(reader->ExtractEntry(0, L"sealed/secret.txt"), ZipExtractResult::Encrypted);
    EXPECT_EQ(Output(), (Tree{{"open.txt", "open"}}));
}

TEST_F(ZipTest, AnUnreadableDirectoryEntryStopsOnlyTheEntriesBehindIt) {
    std::string bytes = BuildZip({.entries = {ZipEntry("a.txt", "a"), ZipEntry("b.txt", "b"), ZipEntry("c.txt", "c")}});
    // Break the second central-directory entry's signature.
    const std::size_t directory = bytes.size() - 22 - 3 * (46 + 5);
    PutLe32(bytes, directory + 46 + 5, 0x12345678);
    std::unique_ptr<ZipReader> reader = Open(bytes);
    ASSERT_NE(reader, nullptr);
    ZipEntryInfo info;
    EXPECT_FALSE(reader->GetEntry(2, info));
    EXPECT_FALSE(reader->GetEntry(1, info));
    // Going back to the start still works after a failed step.
    ASSERT_TRUE(reader->GetEntry(0, info));
    EXPECT_EQ(info.name, L"a.txt");
    EXPECT_FALSE(reader->GetEntry(2, info));
    ASSERT_TRUE(Extract(bytes));
    EXPECT_EQ(Output(), (Tree{{"a.txt", "a"}}));
}

}  // namespace
