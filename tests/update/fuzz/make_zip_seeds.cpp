// Writes the fuzzer's seed corpus: small archives that reach every path of the
// reader, from clean entries to each kind of damage.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "zip_builder.h"

namespace {

template <typename Change>
ZipTestEntry With(ZipTestEntry entry, Change change) {
    change(entry);
    return entry;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    const std::string text = "The quick brown fox jumps over the lazy dog. The quick brown fox again.\n";
    const std::vector<std::pair<const char*, ZipTestArchive>> seeds = {
        {"stored", {.entries = {ZipEntry("a.txt", "hello", 0)}}},
        {"deflated", {.entries = {ZipEntry("t.txt", text + text + text)}}},
        {"folders",
         {.entries = {With(ZipEntry("d/", "", 0), [](ZipTestEntry& e) { e.externalAttributes = 0x10; }),
                      ZipEntry("d/e/f.txt", text), ZipEntry("empty", "", 0)}}},
        {"stub-and-comment", {.prefix = "MZ stub", .entries = {ZipEntry("x", text)}, .comment = "comment"}},
        {"unix-and-timestamp",
         {.entries = {With(ZipEntry("u.sh", "#!/bin/sh\n"),
                           [](ZipTestEntry& e) {
                               e.versionMadeBy = 0x0314;
                               e.externalAttributes = 0x81240000;
                               e.localExtra = ExtendedTimestampBlock(1'000'000'000, 1'100'000'000, 1'200'000'000);
                           })}}},
        {"data-descriptor",
         {.entries = {With(ZipEntry("s.txt", text), [](ZipTestEntry& e) { e.dataDescriptor = true; })}}},
        {"hostile-names",
         {.entries = {ZipEntry("..\\evil.exe", "x", 0), ZipEntry("C:/x/../y", "y", 0), ZipEntry("nul.txt", "n", 0),
                      ZipEntry("//srv/share/z", "z", 0), ZipEntry("a:b", "b", 0)}}},
        {"encrypted",
         {.entries = {With(ZipEntry("e.txt", text),
                           [](ZipTestEntry& e) {
                               e.flags = 1;
                               e.storedPayload = std::string(12, 'k');
                           })}}},
        {"bad-crc", {.entries = {With(ZipEntry("c.txt", text), [](ZipTestEntry& e) { e.recordedCrc = 0; })}}},
        {"short-size",
         {.entries = {With(ZipEntry("s.txt", text), [](ZipTestEntry& e) { e.recordedUncompressedSize = 10; })}}},
        {"local-mismatch",
         {.entries = {With(ZipEntry("m.txt", text), [](ZipTestEntry& e) { e.localMethod = 0; }),
                      ZipEntry("ok.txt", "ok", 0)}}},
    };
    const std::filesystem::path folder = argv[1];
    std::filesystem::create_directories(folder);
    for (const auto& [name, archive] : seeds) {
        const std::string bytes = BuildZip(archive);
        std::ofstream(folder / (std::string(name) + ".zip"), std::ios::binary)
            .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    return 0;
}
