#pragma once

#include <string>
#include <string_view>

// Container names are 8-bit text in code page 1252; the host hands us UTF-8. The
// five bytes the code page leaves unassigned widen to the control characters of the
// same value, as Windows widens them.
namespace NameEncoding {
// False when the text is not valid UTF-8 or holds a character the code page lacks
// (C1 control characters included).
[[nodiscard]] bool FromUtf8(std::string_view utf8, std::string& text);
std::string ToUtf8(std::string_view text);
} // namespace NameEncoding
