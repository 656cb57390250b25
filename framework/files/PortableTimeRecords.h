#pragma once

#include <cstdint>

// The system's calendar record, field for field in the system's order, so the Windows
// side can copy one into the other.
struct SPortableSystemTime
{
    std::uint16_t wYear;
    std::uint16_t wMonth;
    std::uint16_t wDayOfWeek;
    std::uint16_t wDay;
    std::uint16_t wHour;
    std::uint16_t wMinute;
    std::uint16_t wSecond;
    std::uint16_t wMilliseconds;
};

// The system's file time: 100-nanosecond intervals since 1601-01-01 UTC, in two halves.
struct SPortableFileTime
{
    std::uint32_t dwLowDateTime;
    std::uint32_t dwHighDateTime;
};

static_assert(sizeof(SPortableSystemTime) == 16);
static_assert(sizeof(SPortableFileTime) == 8);
