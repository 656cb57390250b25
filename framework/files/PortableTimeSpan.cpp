#include "framework/files/PortableTimeSpan.h"

CPortableTimeSpan::CPortableTimeSpan(std::int32_t nDays, std::int32_t nHours,
                                     std::int32_t nMinutes, std::int32_t nSeconds)
    : m_nValue(std::int64_t{nDays} * 86400 + std::int64_t{nHours} * 3600 +
               std::int64_t{nMinutes} * 60 + nSeconds)
{
}
