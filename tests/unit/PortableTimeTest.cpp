// Times and spans: construction from local fields under fixed zones, the fall-back of
// unconvertible times, file times, arithmetic and the offsets from universal time.
#include <gtest/gtest.h>

#include "framework/files/PortableTime.h"

#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <limits>
#include <string>

#include <unistd.h>

namespace {

constexpr const char* kUniversal = "UTC0";
constexpr const char* kCentralEurope = "CET-1CEST,M3.5.0,M10.5.0/3";
constexpr const char* kEasternUs = "EST5EDT,M3.2.0,M11.1.0";
constexpr const char* kIndia = "IST-5:30";
constexpr const char* kNewfoundland = "NST3:30NDT,M3.2.0,M11.1.0";

constexpr std::int64_t kDecember9th2026_174148 = 1796838108;
constexpr std::int64_t kJuly1st2026_1000Utc = 1782900000;
constexpr std::int64_t kJanuary15th2026_1100Utc = 1768474800;
constexpr std::int64_t kLastConvertible = 32535215999;

class PortableTimeTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const char* previous = std::getenv("TZ");
        m_bHadZone = previous != nullptr;
        if (m_bHadZone)
            m_previousZone = previous;
        UseZone(kUniversal);
    }

    void TearDown() override
    {
        if (m_bHadZone)
            setenv("TZ", m_previousZone.c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }

    static void UseZone(const char* zone)
    {
        setenv("TZ", zone, 1);
        tzset();
    }

private:
    bool m_bHadZone = false;
    std::string m_previousZone;
};

SPortableFileTime FileTime(std::uint64_t nTicks)
{
    return {static_cast<std::uint32_t>(nTicks), static_cast<std::uint32_t>(nTicks >> 32)};
}

std::uint64_t Ticks(const SPortableFileTime& fileTime)
{
    return (std::uint64_t{fileTime.dwHighDateTime} << 32) | fileTime.dwLowDateTime;
}

TEST(PortableTimeSpanTest, DaysHoursMinutesSecondsIn64Bits)
{
    EXPECT_EQ(CPortableTimeSpan(1, 2, 3, 4).GetValue(), 93784);
    // The largest span 32 bits could hold is unchanged; one day more no longer wraps.
    EXPECT_EQ(CPortableTimeSpan(24855, 3, 14, 7).GetValue(), 2147483647);
    EXPECT_EQ(CPortableTimeSpan(24856, 0, 0, 0).GetValue(), std::int64_t{24856} * 86400);
    EXPECT_EQ(CPortableTimeSpan(std::numeric_limits<std::int32_t>::max(), 23, 59, 59).GetValue(),
              std::int64_t{2147483647} * 86400 + 86399);
    EXPECT_EQ(CPortableTimeSpan(-24856, 0, 0, 0).GetValue(), -std::int64_t{24856} * 86400);
    EXPECT_EQ(CPortableTimeSpan(0, 25, -60, 0).GetValue(), 86400);
}

TEST_F(PortableTimeTest, EpochAndFieldsAtUniversalTime)
{
    EXPECT_EQ(CPortableTime(1970, 1, 1, 0, 0, 0, 0).GetTime(), 0);
    const CPortableTime time(2026, 12, 9, 17, 41, 48, 0);
    EXPECT_EQ(time.GetTime(), kDecember9th2026_174148);
    EXPECT_EQ(time.GetYear(), 2026);
    EXPECT_EQ(time.GetMonth(), 12);
    EXPECT_EQ(time.GetDay(), 9);
    EXPECT_EQ(time.GetDayOfWeek(), 3);
    EXPECT_EQ(time.GetHour(), 17);
    EXPECT_EQ(time.GetMinute(), 41);
    EXPECT_EQ(time.GetSecond(), 48);
    // Out-of-range fields are carried over as the runtime does.
    EXPECT_EQ(CPortableTime(2026, 12, 9, 17, 40, 108, 0).GetTime(), kDecember9th2026_174148);
}

TEST_F(PortableTimeTest, SystemTimeRecordIgnoresDayOfWeekAndMilliseconds)
{
    const SPortableSystemTime record{2026, 12, 6, 9, 17, 41, 48, 999};
    EXPECT_EQ(CPortableTime(record, 0).GetTime(), kDecember9th2026_174148);
    CPortableTime assigned;
    assigned = record;
    EXPECT_EQ(assigned.GetTime(), kDecember9th2026_174148);
}

TEST_F(PortableTimeTest, UnconvertibleTimesReadAsZeroAndTheYear2000)
{
    for (const std::int64_t nValue : {std::int64_t{-1}, kLastConvertible + 1,
                                      std::numeric_limits<std::int64_t>::min()}) {
        const CPortableTime time(nValue);
        EXPECT_EQ(time.GetYear(), 2000) << nValue;
        EXPECT_EQ(time.GetMonth(), 0);
        EXPECT_EQ(time.GetDay(), 0);
        EXPECT_EQ(time.GetDayOfWeek(), 0);
        EXPECT_EQ(time.GetHour(), 0);
        EXPECT_EQ(time.GetMinute(), 0);
        EXPECT_EQ(time.GetSecond(), 0);
        EXPECT_EQ(time.GetLocalTm(), nullptr);
        EXPECT_EQ(time.GetUniversalTm(), nullptr);
        std::tm record{};
        record.tm_year = 77;
        EXPECT_FALSE(time.GetLocalTm(record));
        EXPECT_EQ(record.tm_year, 77);
    }
    EXPECT_EQ(CPortableTime(kLastConvertible).GetYear(), 3000);
    EXPECT_EQ(CPortableTime(1969, 12, 31, 23, 59, 59, 0).GetTime(), -1);
    EXPECT_EQ(CPortableTime(3001, 1, 1, 0, 0, 0, 0).GetTime(), -1);
    EXPECT_EQ(CPortableTime(1969, 12, 31, 0, 0, 0, 0).GetYear(), 2000);
}

TEST_F(PortableTimeTest, LocalAndUniversalRecordsInCentralEurope)
{
    UseZone(kCentralEurope);
    const CPortableTime summer(2026, 7, 1, 12, 0, 0, -1);
    EXPECT_EQ(summer.GetTime(), kJuly1st2026_1000Utc);
    EXPECT_EQ(summer.GetHour(), 12);
    // Read as standard time the same wall clock lies an hour later.
    EXPECT_EQ(CPortableTime(2026, 7, 1, 12, 0, 0, 0).GetTime(), kJuly1st2026_1000Utc + 3600);
    EXPECT_EQ(CPortableTime(2026, 1, 15, 12, 0, 0, -1).GetTime(), kJanuary15th2026_1100Utc);

    std::tm local{};
    std::tm universal{};
    ASSERT_TRUE(summer.GetLocalTm(local));
    ASSERT_TRUE(summer.GetUniversalTm(universal));
    EXPECT_EQ(local.tm_hour, 12);
    EXPECT_EQ(local.tm_isdst, 1);
    EXPECT_EQ(universal.tm_hour, 10);
    ASSERT_NE(summer.GetUniversalTm(), nullptr);
    EXPECT_EQ(summer.GetUniversalTm()->tm_hour, 10);
    ASSERT_NE(summer.GetLocalTm(), nullptr);
    EXPECT_EQ(summer.GetLocalTm()->tm_hour, 12);
}

TEST_F(PortableTimeTest, FileTimesAreUniversalWhateverTheZone)
{
    for (const char* zone : {kUniversal, kCentralEurope, kEasternUs}) {
        UseZone(zone);
        for (const std::int64_t nValue : {std::int64_t{0}, kJuly1st2026_1000Utc, kJanuary15th2026_1100Utc}) {
            CPortableTime time(nValue);
            const SPortableFileTime* pFileTime = time.GetFileTime();
            ASSERT_NE(pFileTime, nullptr);
            EXPECT_EQ(Ticks(*pFileTime),
                      (static_cast<std::uint64_t>(nValue) + 11644473600u) * 10000000u) << zone;
            EXPECT_EQ(CPortableTime(*pFileTime).GetTime(), nValue) << zone;
        }
    }
    CPortableTime epoch(0);
    EXPECT_EQ(Ticks(*epoch.GetFileTime()), 0x019DB1DED53E8000u);
    // Fractions of a second are cut; file times before 1970 stay exact.
    EXPECT_EQ(CPortableTime(FileTime(0x019DB1DED53E8000u + 9999999u)).GetTime(), 0);
    EXPECT_EQ(CPortableTime(FileTime(0)).GetTime(), -11644473600);
    CPortableTime assigned;
    assigned = FileTime(0x019DB1DED53E8000u + 10000000u);
    EXPECT_EQ(assigned.GetTime(), 1);

    CPortableTime before1601(-11644473601);
    EXPECT_EQ(before1601.GetFileTime(), nullptr);
    CPortableTime tooLate(std::numeric_limits<std::int64_t>::max() / 10000000);
    EXPECT_EQ(tooLate.GetFileTime(), nullptr);
}

TEST_F(PortableTimeTest, ArithmeticAndComparisons)
{
    const CPortableTime time(kDecember9th2026_174148);
    const CPortableTimeSpan none = time - time;
    EXPECT_EQ(none.GetValue(), 0);
    EXPECT_EQ(time + none, time);

    const CPortableTimeSpan span(1, 2, 3, 4);
    const CPortableTime later = time + span;
    EXPECT_EQ(later.GetTime(), kDecember9th2026_174148 + 93784);
    EXPECT_EQ((later - time).GetValue(), 93784);
    EXPECT_EQ(later - span, time);

    CPortableTime moving = time;
    moving += span;
    EXPECT_EQ(moving, later);
    moving -= span;
    EXPECT_EQ(moving, time);

    EXPECT_TRUE(time < later && time <= later && time <= time && time >= time);
    EXPECT_TRUE(later > time && later >= time && later != time);
    EXPECT_FALSE(later < time || later <= time || time > later || time >= later);
    // Ordered on the whole 64-bit value, far beyond the convertible range.
    EXPECT_LT(CPortableTime(-1), CPortableTime(0));
    EXPECT_LT(CPortableTime(std::int64_t{1} << 40), CPortableTime(std::int64_t{1} << 41));
}

TEST_F(PortableTimeTest, OffsetsFromUniversalTime)
{
    const CPortableTime summer(kJuly1st2026_1000Utc);
    const CPortableTime winter(kJanuary15th2026_1100Utc);
    EXPECT_EQ(GetLocalUtcOffsetHours(summer), 0);
    EXPECT_EQ(GetStandardUtcOffsetHours(summer), 0);

    UseZone(kCentralEurope);
    EXPECT_EQ(GetLocalUtcOffsetHours(summer), 2);
    EXPECT_EQ(GetStandardUtcOffsetHours(summer), 1);
    EXPECT_EQ(GetLocalUtcOffsetHours(winter), 1);
    EXPECT_EQ(GetStandardUtcOffsetHours(winter), 1);

    UseZone(kEasternUs);
    EXPECT_EQ(GetLocalUtcOffsetHours(summer), -4);
    EXPECT_EQ(GetStandardUtcOffsetHours(summer), -5);

    // Half hours are cut toward zero.
    UseZone(kIndia);
    EXPECT_EQ(GetLocalUtcOffsetHours(winter), 5);
    UseZone(kNewfoundland);
    EXPECT_EQ(GetLocalUtcOffsetHours(winter), -3);
    EXPECT_EQ(GetStandardUtcOffsetHours(summer), -3);
}

// Each zone's changes of 2024 as universal instants, from the zone's published rules.
struct SZoneYear
{
    const char* zone;
    int nStandard;
    // Daylight saving is in force from the first instant up to the second; in the southern
    // hemisphere the year starts inside it.
    std::int64_t nFirstChange;
    std::int64_t nSecondChange;
    bool bDaylightBetween;
};

constexpr std::int64_t kJanuary1st2024Utc = 1704067200;
constexpr std::int64_t kJanuary1st2025Utc = 1735689600;

TEST_F(PortableTimeTest, OffsetsAreThoseOfTheInstantInEveryHalfHourOfAYear)
{
    const SZoneYear years[] = {
        // 2024-03-31 01:00 UTC and 2024-10-27 01:00 UTC.
        {"Europe/Berlin", 1, 1711846800, 1729990800, true},
        // 2024-04-06 16:00 UTC (03:00 daylight) and 2024-10-05 16:00 UTC (02:00 standard).
        {"Australia/Sydney", 10, 1712419200, 1728144000, false},
    };
    for (const SZoneYear& year : years) {
        const std::string file = std::string("/usr/share/zoneinfo/") + year.zone;
        ASSERT_EQ(access(file.c_str(), R_OK), 0) << file << " is missing: the zone data is not installed";
        UseZone(year.zone);
        int nWrong = 0;
        for (std::int64_t nTime = kJanuary1st2024Utc; nTime < kJanuary1st2025Utc; nTime += 1800) {
            const bool bBetween = nTime >= year.nFirstChange && nTime < year.nSecondChange;
            const bool bDaylight = bBetween == year.bDaylightBetween;
            const CPortableTime when(nTime);
            const int nLocal = GetLocalUtcOffsetHours(when);
            const int nStandard = GetStandardUtcOffsetHours(when);
            if ((nLocal != year.nStandard + (bDaylight ? 1 : 0) || nStandard != year.nStandard) && ++nWrong <= 5)
                ADD_FAILURE() << year.zone << " at " << nTime << ": offset " << nLocal << ", standard " << nStandard;
        }
        EXPECT_EQ(nWrong, 0) << year.zone;
    }
}

TEST_F(PortableTimeTest, NowIsAConvertibleTime)
{
    const CPortableTime now = CPortableTime::Now();
    EXPECT_GE(now.GetYear(), 2026);
    EXPECT_NE(now.GetLocalTm(), nullptr);
    EXPECT_EQ(GetLocalUtcOffsetHours(), 0);
    EXPECT_EQ(GetStandardUtcOffsetHours(), 0);
}

} // namespace
