#include "framework/files/PortableTime.h"

#include "framework/files/RuntimeLocalTime.h"

#include <chrono>
#include <limits>

namespace {

constexpr std::int64_t kTicksPerSecond = 10'000'000;
// Seconds from 1601-01-01, where file times start, to 1970-01-01.
constexpr std::int64_t kFileTimeEpochOffset = 11'644'473'600;
constexpr std::int64_t kFirstFileTime = -kFileTimeEpochOffset;
constexpr std::int64_t kLastFileTime =
    std::numeric_limits<std::int64_t>::max() / kTicksPerSecond - kFileTimeEpochOffset;

std::int64_t FromLocalFields(int nYear, int nMonth, int nDay, int nHour, int nMinute,
                             int nSecond, int nDST)
{
    std::tm record{};
    record.tm_year = nYear - 1900;
    record.tm_mon = nMonth - 1;
    record.tm_mday = nDay;
    record.tm_hour = nHour;
    record.tm_min = nMinute;
    record.tm_sec = nSecond;
    record.tm_isdst = nDST;
    return RuntimeLocalTime::FromLocal(record);
}

// Seconds since 1970 of broken-down fields read as universal time, by the calendar alone.
std::int64_t SecondsOfUniversalFields(const std::tm& record)
{
    const std::int64_t nYears = record.tm_year - 70;
    // Leap days from 1970 up to the start of the year: every fourth year from 1972, less
    // the centuries from 2100, plus every fourth century from 2000.
    const std::int64_t nLeapDays = (record.tm_year - 69) / 4 - (record.tm_year - 1) / 100 + (record.tm_year + 299) / 400;
    const std::int64_t nDays = nYears * 365 + nLeapDays + record.tm_yday;
    return nDays * 86400 + record.tm_hour * 3600 + record.tm_min * 60 + record.tm_sec;
}

} // namespace

CPortableTime::CPortableTime(int nYear, int nMonth, int nDay, int nHour, int nMinute,
                             int nSecond, int nDST)
    : m_nValue(FromLocalFields(nYear, nMonth, nDay, nHour, nMinute, nSecond, nDST))
{
}

CPortableTime::CPortableTime(const SPortableSystemTime& systemTime, int nDST)
    : m_nValue(FromSystemTime(systemTime, nDST))
{
}

CPortableTime::CPortableTime(const SPortableFileTime& fileTime)
    : m_nValue(FromFileTime(fileTime))
{
}

CPortableTime& CPortableTime::operator=(const SPortableSystemTime& systemTime)
{
    m_nValue = FromSystemTime(systemTime, -1);
    return *this;
}

CPortableTime& CPortableTime::operator=(const SPortableFileTime& fileTime)
{
    m_nValue = FromFileTime(fileTime);
    return *this;
}

std::int64_t CPortableTime::FromSystemTime(const SPortableSystemTime& systemTime, int nDST)
{
    return FromLocalFields(systemTime.wYear, systemTime.wMonth, systemTime.wDay,
                           systemTime.wHour, systemTime.wMinute, systemTime.wSecond, nDST);
}

std::int64_t CPortableTime::FromFileTime(const SPortableFileTime& fileTime)
{
    const std::uint64_t nTicks =
        (std::uint64_t{fileTime.dwHighDateTime} << 32) | fileTime.dwLowDateTime;
    return static_cast<std::int64_t>(nTicks / kTicksPerSecond) - kFileTimeEpochOffset;
}

CPortableTime CPortableTime::Now()
{
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    return CPortableTime(std::chrono::floor<std::chrono::seconds>(now).count());
}

int CPortableTime::LocalField(int std::tm::*field, int nFallback) const
{
    std::tm record{};
    return GetLocalTm(record) ? record.*field : nFallback;
}

int CPortableTime::GetSecond() const { return LocalField(&std::tm::tm_sec, 0); }
int CPortableTime::GetMinute() const { return LocalField(&std::tm::tm_min, 0); }
int CPortableTime::GetHour() const { return LocalField(&std::tm::tm_hour, 0); }
int CPortableTime::GetDay() const { return LocalField(&std::tm::tm_mday, 0); }
int CPortableTime::GetDayOfWeek() const { return LocalField(&std::tm::tm_wday, 0); }

int CPortableTime::GetMonth() const
{
    std::tm record{};
    return GetLocalTm(record) ? record.tm_mon + 1 : 0;
}

int CPortableTime::GetYear() const
{
    std::tm record{};
    return GetLocalTm(record) ? record.tm_year + 1900 : 2000;
}

bool CPortableTime::GetLocalTm(std::tm& record) const
{
    return RuntimeLocalTime::ToLocal(m_nValue, record);
}

bool CPortableTime::GetUniversalTm(std::tm& record) const
{
    return RuntimeLocalTime::ToUniversal(m_nValue, record);
}

const std::tm* CPortableTime::GetLocalTm() const
{
    thread_local std::tm record{};
    return GetLocalTm(record) ? &record : nullptr;
}

const std::tm* CPortableTime::GetUniversalTm() const
{
    thread_local std::tm record{};
    return GetUniversalTm(record) ? &record : nullptr;
}

const SPortableFileTime* CPortableTime::GetFileTime()
{
    if (m_nValue < kFirstFileTime || m_nValue > kLastFileTime)
        return nullptr;
    const auto nTicks = static_cast<std::uint64_t>((m_nValue + kFileTimeEpochOffset) * kTicksPerSecond);
    m_fileTime.dwLowDateTime = static_cast<std::uint32_t>(nTicks);
    m_fileTime.dwHighDateTime = static_cast<std::uint32_t>(nTicks >> 32);
    return &m_fileTime;
}

CPortableTime CPortableTime::operator+(const CPortableTimeSpan& span) const
{
    return CPortableTime(m_nValue + span.GetValue());
}

CPortableTime CPortableTime::operator-(const CPortableTimeSpan& span) const
{
    return CPortableTime(m_nValue - span.GetValue());
}

CPortableTimeSpan CPortableTime::operator-(const CPortableTime& other) const
{
    return CPortableTimeSpan(m_nValue - other.m_nValue);
}

CPortableTime& CPortableTime::operator+=(const CPortableTimeSpan& span)
{
    m_nValue += span.GetValue();
    return *this;
}

CPortableTime& CPortableTime::operator-=(const CPortableTimeSpan& span)
{
    m_nValue -= span.GetValue();
    return *this;
}

int GetLocalUtcOffsetHours(const CPortableTime& when)
{
    // The wall clock of the instant itself, counted as if it were universal time. Reading
    // the universal fields back as local time instead would ask the zone about another
    // instant, an hour off next to every change of daylight saving.
    std::tm local{};
    if (!when.GetLocalTm(local))
        return 0;
    return static_cast<int>((SecondsOfUniversalFields(local) - when.GetTime()) / 3600);
}

int GetStandardUtcOffsetHours(const CPortableTime& when)
{
    std::tm local{};
    const int nDaylight = when.GetLocalTm(local) && local.tm_isdst > 0 ? 1 : 0;
    return GetLocalUtcOffsetHours(when) - nDaylight;
}

int GetLocalUtcOffsetHours()
{
    return GetLocalUtcOffsetHours(CPortableTime::Now());
}

int GetStandardUtcOffsetHours()
{
    return GetStandardUtcOffsetHours(CPortableTime::Now());
}
