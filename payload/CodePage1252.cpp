#include "CodePage1252.h"

#include <cstdint>

#include "Utf8.h"

namespace CodePage1252 {

namespace {

// Code points of 0x80 to 0x9F; the rest of the page equals Latin-1. 0 marks the
// five unassigned bytes.
constexpr char32_t kHighControls[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

bool Encode(char32_t code, char& byte)
{
    if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) {
        byte = static_cast<char>(code);
        return true;
    }
    for (int i = 0; i < 32; ++i) {
        if (kHighControls[i] != 0 && kHighControls[i] == code) {
            byte = static_cast<char>(0x80 + i);
            return true;
        }
    }
    return false;
}

} // namespace

std::string ToUtf8(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        const auto byte = static_cast<uint8_t>(c);
        char32_t code = byte;
        if (byte >= 0x80 && byte < 0xA0 && kHighControls[byte - 0x80] != 0)
            code = kHighControls[byte - 0x80];
        Utf8::Append(out, code);
    }
    return out;
}

bool FromUtf8(std::string_view utf8, std::string& text)
{
    text.clear();
    size_t pos = 0;
    while (pos < utf8.size()) {
        char32_t code = 0;
        char byte = 0;
        if (!Utf8::Decode(utf8, pos, code) || !Encode(code, byte))
            return false;
        text += byte;
    }
    return true;
}

} // namespace CodePage1252
