#pragma once

#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "update/zip/zip_file_layer.h"

// Where an entry's data lies and what it must turn out to be.
struct ZipEntryData {
    std::uint64_t offset = 0;  // of the first data byte in the archive file
    std::uint16_t method = 0;  // 0 stored, 8 deflated
    std::uint32_t compressedSize = 0;
    std::uint32_t uncompressedSize = 0;
    std::uint32_t crc32 = 0;
};

// The uncompressed bytes of one entry, checked as they come: the entry must yield
// exactly its recorded size with its recorded CRC-32, and a deflate stream must end
// exactly there, so damaged data is never reported as a clean end.
class ZipEntryDataReader {
public:
    static constexpr std::uint16_t kStored = 0;
    static constexpr std::uint16_t kDeflated = 8;
    // Compressed data is read from the archive in pieces of this size.
    static constexpr std::size_t kPieceSize = 16384;

    ZipEntryDataReader(const ArchiveFile& archive, const ZipEntryData& data);
    ~ZipEntryDataReader();
    ZipEntryDataReader(const ZipEntryDataReader&) = delete;
    ZipEntryDataReader& operator=(const ZipEntryDataReader&) = delete;

    // Fills up to `capacity` bytes. Returns how many (more than 0), 0 at a clean
    // and verified end, or -1 when the data is damaged or cannot be read.
    std::ptrdiff_t Read(unsigned char* out, std::size_t capacity);

private:
    std::ptrdiff_t ReadStored(unsigned char* out, std::size_t capacity);
    std::ptrdiff_t ReadDeflated(unsigned char* out, std::size_t capacity);
    // Refills the inflate input; false on a read error.
    bool FillInput();
    // Confirms that the deflate stream ends without producing another byte.
    bool DeflateEndsHere();
    std::ptrdiff_t Fail();

    const ArchiveFile& archive_;
    const ZipEntryData data_;
    std::uint64_t nextInput_;
    std::uint32_t compressedLeft_;
    std::uint32_t uncompressedLeft_;
    std::uint32_t crc_;
    bool failed_ = false;
    bool streamEnded_ = false;
    bool inflating_ = false;
    z_stream stream_ = {};
    std::vector<unsigned char> input_;
};
