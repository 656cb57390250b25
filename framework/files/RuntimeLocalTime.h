#pragma once

#include <cstdint>
#include <ctime>

// The runtime library's local-time conversions, held to one range on every platform:
// the Windows runtime converts only from 1970-01-01 to 3000-12-31 23:59:59 UTC, and the
// times of the file library must read the same wherever they are computed.
namespace RuntimeLocalTime {

inline constexpr std::int64_t kFirstTime = 0;
inline constexpr std::int64_t kLastTime = 32535215999;

[[nodiscard]] bool IsConvertible(std::int64_t nTime);

// Broken-down local or universal time; false (and the record untouched) outside the range.
[[nodiscard]] bool ToLocal(std::int64_t nTime, std::tm& record);
[[nodiscard]] bool ToUniversal(std::int64_t nTime, std::tm& record);

// A broken-down local time as seconds since 1970 UTC; -1 when it lies outside the range.
// tm_isdst 1 or 0 says whether daylight saving applies, -1 lets the runtime decide.
[[nodiscard]] std::int64_t FromLocal(std::tm record);

} // namespace RuntimeLocalTime
