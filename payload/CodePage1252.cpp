#include "CodePage1252.h"

#include <cstdint>

namespace CodePage1252 {

namespace {

// Code points of 0x80 to 0x9F; the rest of the page equals Latin-1. 0 marks the
// five unassigned bytes.
constexpr char32_t kHighControls[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

void AppendUtf8(std::string& out, char32_t code)
{
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

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

// Decodes one UTF-8 sequence at pos; false on malformed, overlong or surrogate input.
bool DecodeUtf8(std::string_view text, size_t& pos, char32_t& code)
{
    const auto lead = static_cast<uint8_t>(text[pos]);
    size_t length = 0;
    if (lead < 0x80) {
        code = lead;
        length = 1;
    } else if ((lead & 0xE0) == 0xC0) {
        code = lead & 0x1F;
        length = 2;
    } else if ((lead & 0xF0) == 0xE0) {
        code = lead & 0x0F;
        length = 3;
    } else if ((lead & 0xF8) == 0xF0) {
        code = lead & 0x07;
        length = 4;
    } else {
        return false;
    }
    if (pos + length > text.size())
        return false;
    for (size_t i = 1; i < length; ++i) {
        const auto next = static_cast<uint8_t>(text[pos + i]);
        if ((next & 0xC0) != 0x80)
            return false;
        code = (code << 6) | (next & 0x3F);
    }
    constexpr char32_t kMinimum[5] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < kMinimum[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return false;
    pos += length;
    return true;
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
        AppendUtf8(out, code);
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
        if (!DecodeUtf8(utf8, pos, code) || !Encode(code, byte))
            return false;
        text += byte;
    }
    return true;
}

} // namespace CodePage1252
