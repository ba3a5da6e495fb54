// libFuzzer target: any bytes as an archive file, extracted for real. Besides the
// sanitizers' findings, it stops on anything written beside the destination folder.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "update/zip/extract_zip.h"

namespace {

// A folder of this process's own, made for each input and removed after it, so
// nothing is left behind however the fuzzer ends.
const std::filesystem::path& WorkFolder() {
    static const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("zip-fuzz-" + std::to_string(::getpid()));
    return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::filesystem::create_directories(WorkFolder());
    const std::filesystem::path archive = WorkFolder() / "archive.zip";
    const std::filesystem::path destination = WorkFolder() / "out";
    std::ofstream(archive, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));

    ExtractZipToFolder(archive.wstring(), destination.wstring());

    for (const auto& item : std::filesystem::directory_iterator(WorkFolder())) {
        const std::string name = item.path().filename().string();
        if (name != "archive.zip" && name != "out") {
            std::fprintf(stderr, "an entry escaped the destination: %s\n", name.c_str());
            std::abort();
        }
    }
    std::filesystem::remove_all(WorkFolder());
    return 0;
}
