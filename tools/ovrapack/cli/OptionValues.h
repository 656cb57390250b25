#pragma once

#include <cstdint>
#include <string>

// The values the tool's options take, read strictly: the whole text or nothing.
namespace OptionValues {

// Bytes, with an optional k, m or g suffix (also kib, mib, gib; powers of 1024; any case).
[[nodiscard]] bool ParseSize(const std::string& text, uint64_t maximum, uint64_t& value);

// Decimal, or hexadecimal after 0x.
[[nodiscard]] bool ParseUnsigned(const std::string& text, uint64_t maximum, uint64_t& value);

[[nodiscard]] bool ParseInteger(const std::string& text, int minimum, int maximum, int& value);

} // namespace OptionValues
