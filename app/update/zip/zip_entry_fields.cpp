#include "update/zip/zip_entry_fields.h"

#include "update/zip/zip_bytes.h"

namespace {

constexpr std::uint16_t kExtendedTimestampId = 0x5455;  // "UT"

bool IsDosLikeHost(unsigned host) {
    // MS-DOS and FAT, Windows NTFS, VFAT, and the OS/2 file systems.
    return host == 0 || host == 7 || host == 11 || host == 14;
}

const unsigned char* Bytes(std::string_view text) { return reinterpret_cast<const unsigned char*>(text.data()); }

}  // namespace

std::uint32_t DecodeAttributes(std::uint16_t versionMadeBy, std::uint32_t externalAttributes) {
    const unsigned host = versionMadeBy >> 8;
    if (IsDosLikeHost(host)) {
        return externalAttributes &
               (kAttributeReadOnly | kAttributeHidden | kAttributeSystem | kAttributeDirectory | kAttributeArchive);
    }
    constexpr std::uint32_t kUnixDirectory = 1u << 30;   // S_IFDIR in the high half
    constexpr std::uint32_t kUnixOwnerWrite = 1u << 23;  // S_IWUSR in the high half
    std::uint32_t attributes = kAttributeArchive;
    if (externalAttributes & kUnixDirectory) {
        attributes |= kAttributeDirectory;
    }
    if (!(externalAttributes & kUnixOwnerWrite)) {
        attributes |= kAttributeReadOnly;
    }
    return attributes;
}

std::optional<CivilTime> DecodeDosDateTime(std::uint16_t dosDate, std::uint16_t dosTime) {
    CivilTime time;
    time.year = 1980 + (dosDate >> 9);
    time.month = (dosDate >> 5) & 0x0F;
    time.day = dosDate & 0x1F;
    time.hour = dosTime >> 11;
    time.minute = (dosTime >> 5) & 0x3F;
    time.second = 2 * (dosTime & 0x1F);
    static constexpr int kDaysInMonth[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (time.month < 1 || time.month > 12 || time.day < 1 || time.day > kDaysInMonth[time.month - 1] ||
        time.hour > 23 || time.minute > 59 || time.second > 59) {
        return std::nullopt;
    }
    const bool leap = (time.year % 4 == 0 && time.year % 100 != 0) || time.year % 400 == 0;
    if (time.month == 2 && time.day == 29 && !leap) {
        return std::nullopt;
    }
    return time;
}

std::uint64_t UnixSecondsToFileTime(std::int64_t seconds) {
    constexpr std::int64_t kTicksPerSecond = 10'000'000;
    constexpr std::int64_t kUnixEpochAsFileTime = 116'444'736'000'000'000;
    return static_cast<std::uint64_t>(seconds * kTicksPerSecond + kUnixEpochAsFileTime);
}

void ApplyExtendedTimestamp(std::string_view extraField, ZipFileTimes& times) {
    if (extraField.size() <= 4) {
        return;
    }
    std::size_t offset = 0;
    while (offset + 4 <= extraField.size()) {
        const std::uint16_t id = ReadLe16(Bytes(extraField) + offset);
        const std::size_t dataSize = ReadLe16(Bytes(extraField) + offset + 2);
        if (id != kExtendedTimestampId) {
            offset += 4 + dataSize;
            continue;
        }
        // Only what lies inside both the block and the field is read.
        const std::string_view block = extraField.substr(offset + 4, dataSize);
        if (block.empty()) {
            return;
        }
        const unsigned flags = static_cast<unsigned char>(block[0]);
        std::size_t at = 1;
        for (const auto& [bit, target] :
             {std::pair{1u, &times.modification}, std::pair{2u, &times.access}, std::pair{4u, &times.creation}}) {
            if (!(flags & bit)) {
                continue;
            }
            if (at + 4 > block.size()) {
                return;
            }
            *target = UnixSecondsToFileTime(static_cast<std::int32_t>(ReadLe32(Bytes(block) + at)));
            at += 4;
        }
        return;
    }
}
