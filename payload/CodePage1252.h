#pragma once

#include <string>
#include <string_view>

// Container names are 8-bit text in Windows code page 1252; hosts other than Windows
// speak UTF-8. The five bytes the code page leaves unassigned (0x81, 0x8D, 0x8F,
// 0x90, 0x9D) widen to the control characters of the same value, as Windows widens
// them.
namespace CodePage1252 {
std::string ToUtf8(std::string_view text);
// False when the text is not valid UTF-8 or holds a character the code page lacks
// (C1 control characters included): such a name could not travel.
[[nodiscard]] bool FromUtf8(std::string_view utf8, std::string& text);
} // namespace CodePage1252
