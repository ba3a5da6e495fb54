// Without an ANSI code page, stored names are read as Latin-1; local times follow
// the process's time zone (TZ).
#include <ctime>

#include "update/zip/zip_entry_fields.h"
#include "update/zip/zip_host.h"

std::wstring AnsiToWide(std::string_view bytes) {
    std::wstring wide;
    wide.reserve(bytes.size());
    for (const char byte : bytes) {
        wide.push_back(static_cast<wchar_t>(static_cast<unsigned char>(byte)));
    }
    return wide;
}

std::uint64_t LocalTimeToFileTime(const CivilTime& local) {
    std::tm fields{};
    fields.tm_year = local.year - 1900;
    fields.tm_mon = local.month - 1;
    fields.tm_mday = local.day;
    fields.tm_hour = local.hour;
    fields.tm_min = local.minute;
    fields.tm_sec = local.second;
    fields.tm_isdst = -1;  // let the zone's rules for that date decide
    const std::time_t seconds = std::mktime(&fields);
    if (seconds == static_cast<std::time_t>(-1)) {
        return 0;
    }
    return UnixSecondsToFileTime(static_cast<std::int64_t>(seconds));
}
