#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "update/zip/zip_file_layer.h"
#include "update/zip/zip_host.h"

// Turns the raw fields of a ZIP entry into Windows attribute bits and file times.

inline constexpr std::uint32_t kAttributeReadOnly = 0x01;
inline constexpr std::uint32_t kAttributeHidden = 0x02;
inline constexpr std::uint32_t kAttributeSystem = 0x04;
inline constexpr std::uint32_t kAttributeDirectory = 0x10;
inline constexpr std::uint32_t kAttributeArchive = 0x20;

// Attribute bits by the host byte of "version made by": DOS-like hosts store them
// as they are, the others a Unix mode in the high half.
std::uint32_t DecodeAttributes(std::uint16_t versionMadeBy, std::uint32_t externalAttributes);

// The DOS date and time fields, or nothing when they name no real moment.
std::optional<CivilTime> DecodeDosDateTime(std::uint16_t dosDate, std::uint16_t dosTime);

std::uint64_t UnixSecondsToFileTime(std::int64_t seconds);

// Applies the first "UT" (extended timestamp) block of a local extra field.
void ApplyExtendedTimestamp(std::string_view extraField, ZipFileTimes& times);
