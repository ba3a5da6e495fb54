#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Builds small ZIP archives in memory for tests, seeds and benchmarks, with knobs
// for the damage a reader must survive.
struct ZipTestEntry {
    std::string name;  // stored bytes
    std::string data;  // uncompressed content
    std::uint16_t method = 8;
    std::uint16_t versionMadeBy = 0x0014;  // host 0 (DOS), version 2.0
    std::uint32_t externalAttributes = 0x20;
    std::uint16_t dosDate = (44 << 9) | (6 << 5) | 15;    // 2024-06-15
    std::uint16_t dosTime = (13 << 11) | (45 << 5) | 15;  // 13:45:30
    std::uint16_t flags = 0;
    std::string localExtra;
    bool dataDescriptor = false;  // sizes and CRC-32 after the data, zeros in the local header

    // Damage: what the headers claim instead of the truth, and data stored instead
    // of the real compressed bytes.
    std::optional<std::uint32_t> recordedCrc;
    std::optional<std::uint32_t> recordedUncompressedSize;
    std::optional<std::string> storedPayload;
    std::optional<std::uint32_t> localSignature;
    std::optional<std::uint16_t> localMethod;
    std::optional<std::uint32_t> localCrc;
    std::optional<std::uint32_t> localCompressedSize;
    std::optional<std::uint32_t> localUncompressedSize;
    std::optional<std::string> localName;
};

struct ZipTestArchive {
    std::string prefix;  // bytes in front, such as a self-extracting stub
    std::vector<ZipTestEntry> entries;
    std::string comment;
    std::string trailing;  // bytes after the comment the record declares
};

// An entry with everything else at its defaults (method 8 is deflate, 0 stored).
ZipTestEntry ZipEntry(std::string name, std::string data, std::uint16_t method = 8);

std::string BuildZip(const ZipTestArchive& archive);

// Raw deflate data (no zlib header), as ZIP method 8 stores it.
std::string Deflate(std::string_view data, int level = 6);

std::uint32_t Crc32(std::string_view data);

// An "UT" extra block with the given times (seconds since 1970), flagged in order.
std::string ExtendedTimestampBlock(std::optional<std::int32_t> modification, std::optional<std::int32_t> access = {},
                                   std::optional<std::int32_t> creation = {});

void PutLe16(std::string& bytes, std::size_t offset, std::uint16_t value);
void PutLe32(std::string& bytes, std::size_t offset, std::uint32_t value);
