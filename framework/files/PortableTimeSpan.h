#pragma once

#include <cstdint>

// A length of time in whole seconds.
class CPortableTimeSpan
{
public:
    explicit CPortableTimeSpan(std::int64_t nSeconds = 0) : m_nValue(nSeconds) {}
    // Computed in 64 bits: spans of more than about 24,855 days overflowed 32.
    CPortableTimeSpan(std::int32_t nDays, std::int32_t nHours, std::int32_t nMinutes,
                      std::int32_t nSeconds);
    virtual ~CPortableTimeSpan() = default;

    CPortableTimeSpan(const CPortableTimeSpan&) = default;
    CPortableTimeSpan& operator=(const CPortableTimeSpan&) = default;

    std::int64_t GetValue() const { return m_nValue; }

private:
    std::int64_t m_nValue;
};
