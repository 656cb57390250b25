#include "framework/files/RuntimeLocalTime.h"

namespace RuntimeLocalTime {

bool IsConvertible(std::int64_t nTime)
{
    return nTime >= kFirstTime && nTime <= kLastTime;
}

#ifdef _WIN32

bool ToLocal(std::int64_t nTime, std::tm& record)
{
    const __time64_t value = nTime;
    std::tm converted{};
    if (!IsConvertible(nTime) || _localtime64_s(&converted, &value) != 0)
        return false;
    record = converted;
    return true;
}

bool ToUniversal(std::int64_t nTime, std::tm& record)
{
    const __time64_t value = nTime;
    std::tm converted{};
    if (!IsConvertible(nTime) || _gmtime64_s(&converted, &value) != 0)
        return false;
    record = converted;
    return true;
}

std::int64_t FromLocal(std::tm record)
{
    const std::int64_t nTime = _mktime64(&record);
    return IsConvertible(nTime) ? nTime : -1;
}

#else

bool ToLocal(std::int64_t nTime, std::tm& record)
{
    const std::time_t value = static_cast<std::time_t>(nTime);
    std::tm converted{};
    if (!IsConvertible(nTime) || localtime_r(&value, &converted) == nullptr)
        return false;
    record = converted;
    return true;
}

bool ToUniversal(std::int64_t nTime, std::tm& record)
{
    const std::time_t value = static_cast<std::time_t>(nTime);
    std::tm converted{};
    if (!IsConvertible(nTime) || gmtime_r(&value, &converted) == nullptr)
        return false;
    record = converted;
    return true;
}

std::int64_t FromLocal(std::tm record)
{
    static_assert(sizeof(std::time_t) == 8, "times beyond 2038 need a 64-bit time_t");
    const std::int64_t nTime = std::mktime(&record);
    return IsConvertible(nTime) ? nTime : -1;
}

#endif

} // namespace RuntimeLocalTime
