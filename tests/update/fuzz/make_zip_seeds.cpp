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

ZipTestEntry Entry(std::string name, std::string data, std::uint16_t method = 8) {
    ZipTestEntry entry;
    entry.name = std::move(name);
    entry.data = std::move(data);
    entry.method = method;
    return entry;
}

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
        {"stored", {.entries = {Entry("a.txt", "hello", 0)}}},
        {"deflated", {.entries = {Entry("t.txt", text + text + text)}}},
        {"folders", {.entries = {With(Entry("d/", "", 0), [](ZipTestEntry& e) { e.externalAttributes = 0x10; }),
                                 Entry("d/e/f.txt", text), Entry("empty", "", 0)}}},
        {"stub-and-comment", {.prefix = "MZ stub", .entries = {Entry("x", text)}, .comment = "comment"}},
        {"unix-and-timestamp", {.entries = {With(Entry("u.sh", "#!/bin/sh\n"), [](ZipTestEntry& e) {
                                    e.versionMadeBy = 0x0314;
                                    e.externalAttributes = 0x81240000;
                                    e.localExtra = ExtendedTimestampBlock(1'000'000'000, 1'100'000'000, 1'200'000'000);
                                })}}},
        {"data-descriptor", {.entries = {With(Entry("s.txt", text), [](ZipTestEntry& e) { e.dataDescriptor = true; })}}},
        {"hostile-names", {.entries = {Entry("..\\evil.exe", "x", 0), Entry("C:/x/../y", "y", 0), Entry("nul.txt", "n", 0),
                                       Entry("//srv/share/z", "z", 0), Entry("a:b", "b", 0)}}},
        {"encrypted", {.entries = {With(Entry("e.txt", text), [](ZipTestEntry& e) {
                           e.flags = 1;
                           e.storedPayload = std::string(12, 'k');
                       })}}},
        {"bad-crc", {.entries = {With(Entry("c.txt", text), [](ZipTestEntry& e) { e.recordedCrc = 0; })}}},
        {"short-size", {.entries = {With(Entry("s.txt", text), [](ZipTestEntry& e) { e.recordedUncompressedSize = 10; })}}},
        {"local-mismatch", {.entries = {With(Entry("m.txt", text), [](ZipTestEntry& e) { e.localMethod = 0; }),
                                        Entry("ok.txt", "ok", 0)}}},
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
