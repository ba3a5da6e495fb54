#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// What the host system decides about names and times stored in an archive.

// A calendar date and time of day with fields in their natural ranges.
struct CivilTime {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// Stored names are in the system's ANSI code page (Latin-1 where there is none).
std::wstring AnsiToWide(std::string_view bytes);

// The Windows file time of a local date and time; 0 if the system cannot place it.
std::uint64_t LocalTimeToFileTime(const CivilTime& local);
