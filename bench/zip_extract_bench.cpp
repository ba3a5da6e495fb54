// Extraction throughput of a 50 MB deflated archive, side by side with Info-ZIP's
// unzip on the same file in the same run. Rounds alternate between the two so that
// both meet the same disk cache; the median of each is compared.
//   zip_extract_bench [ROUNDS]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "update/zip/extract_zip.h"
#include "zip_builder.h"

namespace {

namespace fs = std::filesystem;

// Log-like text: repeats enough to deflate to about 40 percent, like an installer's
// mix of code and resources rather than a run of one byte.
std::string SampleFile(std::size_t size, unsigned seed) {
    static const char* const kWords[] = {"reading", "sensor", "display", "report", "update", "package",
                                         "folder",  "value",  "thermal", "power",  "usage",  "device"};
    std::string text;
    text.reserve(size + 64);
    unsigned state = seed;
    while (text.size() < size) {
        state = state * 1664525u + 1013904223u;
        text += kWords[(state >> 8) % 12];
        text += ' ';
        text += std::to_string((state >> 12) % 100000);
        text += (state >> 28) ? ' ' : '\n';
        if (((state >> 4) & 0xF) == 0) {
            text.push_back(static_cast<char>(state >> 24));  // a stray byte now and then
        }
    }
    text.resize(size);
    return text;
}

std::string BuildBenchArchive() {
    ZipTestArchive archive;
    std::size_t total = 0;
    for (unsigned i = 0; total < 150u << 20; ++i) {
        ZipTestEntry entry;
        entry.name = "pkg/part" + std::to_string(i / 8) + "/file" + std::to_string(i) + ".bin";
        entry.data = SampleFile((1u << 20) * (2 + i % 7), i + 1);
        total += entry.data.size();
        archive.entries.push_back(std::move(entry));
    }
    return BuildZip(archive);
}

double Seconds(std::chrono::steady_clock::duration duration) { return std::chrono::duration<double>(duration).count(); }

template <typename Step>
double Time(Step step) {
    const auto start = std::chrono::steady_clock::now();
    step();
    return Seconds(std::chrono::steady_clock::now() - start);
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    const fs::path work = fs::temp_directory_path() / "thermolyx-zip-bench";
    fs::remove_all(work);
    fs::create_directories(work);
    const fs::path archive = work / "bench.zip";
    const std::string bytes = BuildBenchArchive();
    std::ofstream(archive, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    std::uintmax_t unpacked = 0;

    std::vector<double> ours;
    std::vector<double> theirs;
    for (int round = 0; round < rounds; ++round) {
        const fs::path ourFolder = work / "ours";
        const fs::path theirFolder = work / "unzip";
        ours.push_back(Time([&] {
            if (!ExtractZipToFolder(archive.wstring(), ourFolder.wstring())) {
                std::fprintf(stderr, "extraction failed\n");
                std::exit(1);
            }
        }));
        const std::string command = "unzip -qq -o '" + archive.string() + "' -d '" + theirFolder.string() + "'";
        theirs.push_back(Time([&] {
            if (std::system(command.c_str()) != 0) {
                std::fprintf(stderr, "unzip failed (is Debian's unzip installed?)\n");
                std::exit(1);
            }
        }));
        unpacked = 0;
        for (const auto& item : fs::recursive_directory_iterator(ourFolder)) {
            if (item.is_regular_file()) {
                unpacked += item.file_size();
            }
        }
        fs::remove_all(ourFolder);
        fs::remove_all(theirFolder);
    }

    const double archiveMb = static_cast<double>(bytes.size()) / 1e6;
    const double unpackedMb = static_cast<double>(unpacked) / 1e6;
    const double ourTime = Median(ours);
    const double theirTime = Median(theirs);
    std::printf("archive: %.1f MB deflated, %.1f MB unpacked, median of %d rounds\n", archiveMb, unpackedMb, rounds);
    std::printf("ExtractZipToFolder: %7.3f s  %7.1f MB/s of archive  %7.1f MB/s unpacked\n", ourTime,
                archiveMb / ourTime, unpackedMb / ourTime);
    std::printf("unzip:              %7.3f s  %7.1f MB/s of archive  %7.1f MB/s unpacked\n", theirTime,
                archiveMb / theirTime, unpackedMb / theirTime);
    std::printf("time ratio (ExtractZipToFolder / unzip): %.2fx (goal: at most 1.10x)\n", ourTime / theirTime);
    fs::remove_all(work);
    return 0;
}
