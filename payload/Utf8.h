#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// UTF-8 in and out, strict: no overlong forms, no surrogates, nothing above U+10FFFF.
// What a caller does with a malformed sequence (refuse the text, or put U+FFFD for
// its first byte and go on) is the caller's to say.
namespace Utf8 {

// Decodes the sequence at pos and moves pos past it; false, with pos unchanged, when
// no well-formed sequence starts there.
[[nodiscard]] bool Decode(std::string_view text, size_t& pos, char32_t& code);
void Append(std::string& utf8, char32_t code);

// One code point as UTF-16 units: a surrogate pair above U+FFFF.
template <class TChar>
void AppendUtf16(std::basic_string<TChar>& text, char32_t code)
{
    static_assert(sizeof(TChar) >= 2);
    if (code >= 0x10000) {
        text.push_back(static_cast<TChar>(0xD800 + ((code - 0x10000) >> 10)));
        text.push_back(static_cast<TChar>(0xDC00 + ((code - 0x10000) & 0x3FF)));
    } else {
        text.push_back(static_cast<TChar>(code));
    }
}

} // namespace Utf8
