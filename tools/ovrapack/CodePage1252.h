#pragma once

#include <string>
#include <string_view>

// Container names are 8-bit text in code page 1252; the host hands us UTF-8.
namespace CodePage1252 {
// False when the text is not valid UTF-8 or holds a character the code page lacks
// (C1 control characters included).
[[nodiscard]] bool FromUtf8(std::string_view utf8, std::string& text);
std::string ToUtf8(std::string_view text);
} // namespace CodePage1252
