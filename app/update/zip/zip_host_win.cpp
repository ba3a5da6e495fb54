#include <windows.h>

#include "update/zip/zip_host.h"

std::wstring AnsiToWide(std::string_view bytes) {
    if (bytes.empty()) {
        return {};
    }
    const int size = static_cast<int>(bytes.size());
    const int length = ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, wide.data(), length);
    return wide;
}

std::uint64_t LocalTimeToFileTime(const CivilTime& local) {
    SYSTEMTIME localTime = {};
    localTime.wYear = static_cast<WORD>(local.year);
    localTime.wMonth = static_cast<WORD>(local.month);
    localTime.wDay = static_cast<WORD>(local.day);
    localTime.wHour = static_cast<WORD>(local.hour);
    localTime.wMinute = static_cast<WORD>(local.minute);
    localTime.wSecond = static_cast<WORD>(local.second);
    // The zone's rules for that date, not today's offset, decide daylight saving.
    SYSTEMTIME utc = {};
    FILETIME fileTime = {};
    if (!::TzSpecificLocalTimeToSystemTime(nullptr, &localTime, &utc) || !::SystemTimeToFileTime(&utc, &fileTime)) {
        return 0;
    }
    return (static_cast<std::uint64_t>(fileTime.dwHighDateTime) << 32) | fileTime.dwLowDateTime;
}
