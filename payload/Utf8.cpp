#include "Utf8.h"

#include <cstdint>

namespace Utf8 {

bool Decode(std::string_view text, size_t& pos, char32_t& code)
{
    const auto lead = static_cast<uint8_t>(text[pos]);
    size_t length = 0;
    char32_t value = 0;
    if (lead < 0x80) {
        value = lead;
        length = 1;
    } else if ((lead & 0xE0) == 0xC0) {
        value = lead & 0x1F;
        length = 2;
    } else if ((lead & 0xF0) == 0xE0) {
        value = lead & 0x0F;
        length = 3;
    } else if ((lead & 0xF8) == 0xF0) {
        value = lead & 0x07;
        length = 4;
    } else {
        return false;
    }
    if (length > text.size() - pos)
        return false;
    for (size_t i = 1; i < length; ++i) {
        const auto next = static_cast<uint8_t>(text[pos + i]);
        if ((next & 0xC0) != 0x80)
            return false;
        value = (value << 6) | (next & 0x3F);
    }
    constexpr char32_t kSmallest[5] = {0, 0, 0x80, 0x800, 0x10000};
    if (value < kSmallest[length] || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
        return false;
    code = value;
    pos += length;
    return true;
}

void Append(std::string& utf8, char32_t code)
{
    if (code < 0x80) {
        utf8 += static_cast<char>(code);
    } else if (code < 0x800) {
        utf8 += static_cast<char>(0xC0 | (code >> 6));
        utf8 += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        utf8 += static_cast<char>(0xE0 | (code >> 12));
        utf8 += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        utf8 += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        utf8 += static_cast<char>(0xF0 | (code >> 18));
        utf8 += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        utf8 += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        utf8 += static_cast<char>(0x80 | (code & 0x3F));
    }
}

} // namespace Utf8
