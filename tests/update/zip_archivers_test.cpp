// Archives made by real archivers on this machine, extracted by the reader and by
// Info-ZIP's unzip: both must give the same names and bytes. A missing archiver
// fails the test; set-up installs them all.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "update/zip/extract_zip.h"
#include "temp_folder.h"

namespace {

// Names and texts go through a UTF-8 locale, as on any current system.
constexpr char kUtf8Locale[] = "LC_ALL=C.UTF-8 ";

void Write(const std::filesystem::path& path, const std::string& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string RandomBytes(std::size_t size) {
    std::mt19937 generator(11);
    std::string bytes(size, '\0');
    for (char& byte : bytes) {
        byte = static_cast<char>(generator() & 0xFF);
    }
    return bytes;
}

// One small tree with what packages hold: plain and UTF-8 names, an empty file, an
// empty folder, a megabyte of zeros and bytes that do not compress.
void MakeSourceTree(const std::filesystem::path& root) {
    Write(root / "readme.txt", "plain ASCII name\n");
    Write(root / std::filesystem::path(u8"\u00FCn\u00EFcode-\u540D\u524D.txt"), "UTF-8 name\n");
    Write(root / "empty.txt", "");
    std::filesystem::create_directories(root / "empty-folder");
    Write(root / "data" / "zeros.bin", std::string(1 << 20, '\0'));
    Write(root / "data" / "random.bin", RandomBytes(70'000));
    Write(root / std::filesystem::path(u8"data/\u00E9t\u00E9/nested.txt"), "nested\n");
}

int RunInUtf8Locale(const std::string& command) { return std::system((std::string(kUtf8Locale) + command).c_str()); }

struct Archiver {
    const char* name;
    const char* tool;
    const char* command;  // run in the source folder; %s is the archive path
};

std::string Format(const char* pattern, const std::string& archive) {
    std::string command = pattern;
    const std::size_t at = command.find("%s");
    command.replace(at, 2, "'" + archive + "'");
    return command;
}

constexpr char kPythonZip[] =
    "python3 -c \"import os, sys, zipfile\n"
    "with zipfile.ZipFile(sys.argv[1], 'w', zipfile.ZIP_DEFLATED) as z:\n"
    "    for folder, folders, files in os.walk('.'):\n"
    "        for name in folders + files:\n"
    "            path = os.path.relpath(os.path.join(folder, name))\n"
    "            z.write(path, path)\n"
    "\" %s";

const Archiver kArchivers[] = {
    {"zip_deflated", "zip", "zip -q -r %s ."},      {"zip_stored", "zip", "zip -q -r -0 %s ."},
    {"p7zip", "7z", "7z a -tzip -bso0 -bsp0 %s ."}, {"bsdtar", "bsdtar", "bsdtar --format zip -cf %s *"},
    {"python_zipfile", "python3", kPythonZip},
};

class ArchiverAgreement : public testing::TestWithParam<Archiver> {};

TEST_P(ArchiverAgreement, ExtractionMatchesUnzip) {
    const Archiver& archiver = GetParam();
    for (const char* tool : {archiver.tool, "unzip"}) {
        ASSERT_EQ(RunInUtf8Locale(std::string("command -v ") + tool + " >/dev/null"), 0)
            << tool << " is missing: scripts/setup.sh installs it";
    }
    TempFolder temp;
    const std::filesystem::path source = temp.Path() / "source";
    MakeSourceTree(source);
    const std::string archive = (temp.Path() / "archive.zip").string();
    ASSERT_EQ(RunInUtf8Locale("cd '" + source.string() + "' && " + Format(archiver.command, archive)), 0)
        << archiver.name;

    ASSERT_EQ(RunInUtf8Locale("unzip -q '" + archive + "' -d '" + (temp.Path() / "unzip").string() + "'"), 0);
    ASSERT_TRUE(ExtractZipToFolder(std::filesystem::path(archive).wstring(), (temp.Path() / "ours").wstring()));

    const auto expected = ReadTree(temp.Path() / "unzip");
    EXPECT_EQ(expected, ReadTree(source)) << "unzip itself must give back the tree";
    const auto ours = ReadTree(temp.Path() / "ours");
    EXPECT_EQ(ours.size(), expected.size());
    for (const auto& [name, bytes] : expected) {
        const auto found = ours.find(name);
        if (found == ours.end()) {
            ADD_FAILURE() << "missing " << name;
        } else {
            EXPECT_TRUE(found->second == bytes) << "bytes differ in " << name;
        }
    }
    for (const auto& [name, bytes] : ours) {
        EXPECT_TRUE(expected.count(name)) << "unexpected " << name;
    }
}

INSTANTIATE_TEST_SUITE_P(Archivers, ArchiverAgreement, testing::ValuesIn(kArchivers),
                         [](const testing::TestParamInfo<Archiver>& info) { return std::string(info.param.name); });

}  // namespace
