#pragma once

#include <string>
#include <string_view>

// Windows code page 1252 to UTF-8, as Windows widens it: the five unassigned bytes
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) become the control characters of the same value.
namespace CodePage1252 {
std::string ToUtf8(std::string_view text);
} // namespace CodePage1252
