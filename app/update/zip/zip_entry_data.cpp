#include "update/zip/zip_entry_data.h"

#include <algorithm>

ZipEntryDataReader::ZipEntryDataReader(const ArchiveFile& archive, const ZipEntryData& data)
    : archive_(archive),
      data_(data),
      nextInput_(data.offset),
      compressedLeft_(data.compressedSize),
      uncompressedLeft_(data.uncompressedSize),
      crc_(static_cast<std::uint32_t>(crc32(0, nullptr, 0))) {
    if (data.method == kDeflated) {
        input_.resize(kPieceSize);
        // Negative window bits: raw deflate data, no zlib header or trailer.
        inflating_ = inflateInit2(&stream_, -MAX_WBITS) == Z_OK;
        failed_ = !inflating_;
    } else if (data.method != kStored || data.compressedSize != data.uncompressedSize) {
        failed_ = true;
    }
}

ZipEntryDataReader::~ZipEntryDataReader() {
    if (inflating_) {
        inflateEnd(&stream_);
    }
}

std::ptrdiff_t ZipEntryDataReader::Read(unsigned char* out, std::size_t capacity) {
    if (failed_) {
        return -1;
    }
    const std::ptrdiff_t produced = data_.method == kDeflated ? ReadDeflated(out, capacity) : ReadStored(out, capacity);
    if (produced < 0) {
        return Fail();
    }
    if (produced > 0) {
        crc_ = static_cast<std::uint32_t>(crc32(crc_, out, static_cast<uInt>(produced)));
        uncompressedLeft_ -= static_cast<std::uint32_t>(produced);
        return produced;
    }
    // Nothing more came: that is only an end if the whole entry arrived intact.
    if (uncompressedLeft_ != 0 || (data_.method == kDeflated && !DeflateEndsHere()) || crc_ != data_.crc32) {
        return Fail();
    }
    return 0;
}

std::ptrdiff_t ZipEntryDataReader::ReadStored(unsigned char* out, std::size_t capacity) {
    const std::size_t count = std::min<std::size_t>(capacity, uncompressedLeft_);
    if (count == 0) {
        return 0;
    }
    if (!archive_.ReadExactly(nextInput_, out, count)) {
        return -1;
    }
    nextInput_ += count;
    return static_cast<std::ptrdiff_t>(count);
}

std::ptrdiff_t ZipEntryDataReader::ReadDeflated(unsigned char* out, std::size_t capacity) {
    const auto wanted = static_cast<uInt>(std::min<std::size_t>(capacity, uncompressedLeft_));
    stream_.next_out = out;
    stream_.avail_out = wanted;
    while (stream_.avail_out > 0 && !streamEnded_) {
        if (!FillInput()) {
            return -1;
        }
        const int result = inflate(&stream_, Z_NO_FLUSH);
        if (result == Z_STREAM_END) {
            streamEnded_ = true;
        } else if (result == Z_BUF_ERROR && stream_.avail_in == 0 && compressedLeft_ == 0) {
            return -1;  // the compressed data ran out before the stream ended
        } else if (result != Z_OK && result != Z_BUF_ERROR) {
            return -1;
        }
    }
    return static_cast<std::ptrdiff_t>(wanted - stream_.avail_out);
}

bool ZipEntryDataReader::FillInput() {
    if (stream_.avail_in > 0 || compressedLeft_ == 0) {
        return true;
    }
    const std::size_t count = std::min<std::size_t>(kPieceSize, compressedLeft_);
    if (!archive_.ReadExactly(nextInput_, input_.data(), count)) {
        return false;
    }
    nextInput_ += count;
    compressedLeft_ -= static_cast<std::uint32_t>(count);
    stream_.next_in = input_.data();
    stream_.avail_in = static_cast<uInt>(count);
    return true;
}

bool ZipEntryDataReader::DeflateEndsHere() {
    unsigned char extra = 0;
    while (!streamEnded_) {
        stream_.next_out = &extra;
        stream_.avail_out = 1;
        if (!FillInput()) {
            return false;
        }
        const int result = inflate(&stream_, Z_NO_FLUSH);
        if (stream_.avail_out == 0) {
            return false;  // the stream holds more than the recorded size
        }
        if (result == Z_STREAM_END) {
            streamEnded_ = true;
        } else if (result != Z_OK) {
            return false;  // damaged, or the compressed data ran out
        }
    }
    return true;
}

std::ptrdiff_t ZipEntryDataReader::Fail() {
    failed_ = true;
    return -1;
}
