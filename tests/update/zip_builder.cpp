#include "zip_builder.h"

#include <zlib.h>

#include <utility>

namespace {

void AppendLe16(std::string& out, std::uint32_t value) {
    out.push_back(static_cast<char>(value & 0xFF));
    out.push_back(static_cast<char>((value >> 8) & 0xFF));
}

void AppendLe32(std::string& out, std::uint32_t value) {
    AppendLe16(out, value & 0xFFFF);
    AppendLe16(out, value >> 16);
}

}  // namespace

void PutLe16(std::string& bytes, std::size_t offset, std::uint16_t value) {
    bytes[offset] = static_cast<char>(value & 0xFF);
    bytes[offset + 1] = static_cast<char>(value >> 8);
}

void PutLe32(std::string& bytes, std::size_t offset, std::uint32_t value) {
    PutLe16(bytes, offset, static_cast<std::uint16_t>(value & 0xFFFF));
    PutLe16(bytes, offset + 2, static_cast<std::uint16_t>(value >> 16));
}

std::string Deflate(std::string_view data, int level) {
    z_stream stream = {};
    deflateInit2(&stream, level, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    std::string out(deflateBound(&stream, static_cast<uLong>(data.size())), '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    stream.avail_in = static_cast<uInt>(data.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    deflate(&stream, Z_FINISH);
    out.resize(stream.total_out);
    deflateEnd(&stream);
    return out;
}

std::uint32_t Crc32(std::string_view data) {
    return static_cast<std::uint32_t>(
        crc32(0, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size())));
}

std::string ExtendedTimestampBlock(std::optional<std::int32_t> modification, std::optional<std::int32_t> access,
                                   std::optional<std::int32_t> creation) {
    std::string data(1, '\0');
    int bit = 1;
    for (const auto& time : {modification, access, creation}) {
        if (time) {
            data[0] = static_cast<char>(data[0] | bit);
            AppendLe32(data, static_cast<std::uint32_t>(*time));
        }
        bit <<= 1;
    }
    std::string block;
    AppendLe16(block, 0x5455);
    AppendLe16(block, static_cast<std::uint32_t>(data.size()));
    return block + data;
}

ZipTestEntry ZipEntry(std::string name, std::string data, std::uint16_t method) {
    ZipTestEntry entry;
    entry.name = std::move(name);
    entry.data = std::move(data);
    entry.method = method;
    return entry;
}

std::string BuildZip(const ZipTestArchive& archive) {
    std::string out = archive.prefix;
    std::string directory;
    for (const ZipTestEntry& entry : archive.entries) {
        const std::string payload = entry.storedPayload ? *entry.storedPayload
                                    : entry.method == 8 ? Deflate(entry.data)
                                                        : entry.data;
        const std::uint32_t crc = entry.recordedCrc.value_or(Crc32(entry.data));
        const auto size = entry.recordedUncompressedSize.value_or(static_cast<std::uint32_t>(entry.data.size()));
        const auto compressedSize = static_cast<std::uint32_t>(payload.size());
        const std::uint16_t flags = entry.flags | (entry.dataDescriptor ? 0x0008 : 0);
        const auto localOffset = static_cast<std::uint32_t>(out.size() - archive.prefix.size());
        const std::string& localName = entry.localName ? *entry.localName : entry.name;

        AppendLe32(out, entry.localSignature.value_or(0x04034b50));
        AppendLe16(out, 20);
        AppendLe16(out, flags);
        AppendLe16(out, entry.localMethod.value_or(entry.method));
        AppendLe16(out, entry.dosTime);
        AppendLe16(out, entry.dosDate);
        AppendLe32(out, entry.localCrc.value_or(entry.dataDescriptor ? 0 : crc));
        AppendLe32(out, entry.localCompressedSize.value_or(entry.dataDescriptor ? 0 : compressedSize));
        AppendLe32(out, entry.localUncompressedSize.value_or(entry.dataDescriptor ? 0 : size));
        AppendLe16(out, static_cast<std::uint32_t>(localName.size()));
        AppendLe16(out, static_cast<std::uint32_t>(entry.localExtra.size()));
        out += localName + entry.localExtra + payload;
        if (entry.dataDescriptor) {
            AppendLe32(out, 0x08074b50);
            AppendLe32(out, crc);
            AppendLe32(out, compressedSize);
            AppendLe32(out, size);
        }

        AppendLe32(directory, 0x02014b50);
        AppendLe16(directory, entry.versionMadeBy);
        AppendLe16(directory, 20);
        AppendLe16(directory, flags);
        AppendLe16(directory, entry.method);
        AppendLe16(directory, entry.dosTime);
        AppendLe16(directory, entry.dosDate);
        AppendLe32(directory, crc);
        AppendLe32(directory, compressedSize);
        AppendLe32(directory, size);
        AppendLe16(directory, static_cast<std::uint32_t>(entry.name.size()));
        AppendLe16(directory, 0);  // extra field
        AppendLe16(directory, 0);  // comment
        AppendLe16(directory, 0);  // starting disk
        AppendLe16(directory, 0);  // internal attributes
        AppendLe32(directory, entry.externalAttributes);
        AppendLe32(directory, localOffset);
        directory += entry.name;
    }
    const auto directoryOffset = static_cast<std::uint32_t>(out.size() - archive.prefix.size());
    out += directory;
    AppendLe32(out, 0x06054b50);
    AppendLe16(out, 0);
    AppendLe16(out, 0);
    AppendLe16(out, static_cast<std::uint32_t>(archive.entries.size()));
    AppendLe16(out, static_cast<std::uint32_t>(archive.entries.size()));
    AppendLe32(out, static_cast<std::uint32_t>(directory.size()));
    AppendLe32(out, directoryOffset);
    AppendLe16(out, static_cast<std::uint32_t>(archive.comment.size()));
    return out + archive.comment + archive.trailing;
}
