#pragma once

#include "framework/files/PortableTimeRecords.h"
#include "framework/files/PortableTimeSpan.h"

#include <cstdint>
#include <ctime>

// A point in time in whole seconds since 1970-01-01 00:00:00 UTC. Broken-down values are
// local time; a time the runtime cannot convert (before 1970, after the year 3000) reads
// as 0 in every field except the year, which reads as 2000.
class CPortableTime
{
public:
    explicit CPortableTime(std::int64_t nTime = 0) : m_nValue(nTime) {}
    // Local time; nDST 1 or 0 says whether daylight saving applies, -1 lets the runtime
    // decide. A date the runtime cannot convert gives -1.
    CPortableTime(int nYear, int nMonth, int nDay, int nHour, int nMinute, int nSecond,
                  int nDST = -1);
    explicit CPortableTime(const SPortableSystemTime& systemTime, int nDST = -1);
    // File times are universal: the conversion does not pass through local time.
    explicit CPortableTime(const SPortableFileTime& fileTime);
    virtual ~CPortableTime() = default;

    CPortableTime(const CPortableTime&) = default;
    CPortableTime& operator=(const CPortableTime&) = default;
    CPortableTime& operator=(const SPortableSystemTime& systemTime);
    CPortableTime& operator=(const SPortableFileTime& fileTime);

    static CPortableTime Now();

    std::int64_t GetTime() const { return m_nValue; }

    int GetSecond() const;
    int GetMinute() const;
    int GetHour() const;
    int GetDay() const;
    int GetDayOfWeek() const; // 0 = Sunday
    int GetMonth() const;     // 1 to 12
    int GetYear() const;

    [[nodiscard]] bool GetLocalTm(std::tm& record) const;
    [[nodiscard]] bool GetUniversalTm(std::tm& record) const;
    // The calling thread's copy, overwritten by the next call; none on failure.
    const std::tm* GetLocalTm() const;
    const std::tm* GetUniversalTm() const;

    // Kept in this object until the next call; none for a time before 1601.
    const SPortableFileTime* GetFileTime();

    CPortableTime operator+(const CPortableTimeSpan& span) const;
    CPortableTime operator-(const CPortableTimeSpan& span) const;
    CPortableTimeSpan operator-(const CPortableTime& other) const;
    CPortableTime& operator+=(const CPortableTimeSpan& span);
    CPortableTime& operator-=(const CPortableTimeSpan& span);

    bool operator==(const CPortableTime& other) const { return m_nValue == other.m_nValue; }
    bool operator!=(const CPortableTime& other) const { return m_nValue != other.m_nValue; }
    bool operator<(const CPortableTime& other) const { return m_nValue < other.m_nValue; }
    bool operator<=(const CPortableTime& other) const { return m_nValue <= other.m_nValue; }
    bool operator>(const CPortableTime& other) const { return m_nValue > other.m_nValue; }
    bool operator>=(const CPortableTime& other) const { return m_nValue >= other.m_nValue; }

private:
    static std::int64_t FromSystemTime(const SPortableSystemTime& systemTime, int nDST);
    static std::int64_t FromFileTime(const SPortableFileTime& fileTime);
    int LocalField(int std::tm::*field, int nFallback) const;

    std::int64_t m_nValue;
    SPortableFileTime m_fileTime{};
};

// Offset of local time from universal time now, in whole hours (truncated), with and
// without the daylight saving in force.
int GetLocalUtcOffsetHours();
int GetStandardUtcOffsetHours();
// The same at a given moment.
int GetLocalUtcOffsetHours(const CPortableTime& when);
int GetStandardUtcOffsetHours(const CPortableTime& when);
