#include "Utf8Text.h"

#include <cstdint>

namespace {

constexpr char32_t kReplacement = 0xFFFD;

void Append(std::wstring& out, char32_t codePoint)
{
    if constexpr (sizeof(wchar_t) == 2) {
        if (codePoint >= 0x10000) {
            codePoint -= 0x10000;
            out.push_back(static_cast<wchar_t>(0xD800 + (codePoint >> 10)));
            out.push_back(static_cast<wchar_t>(0xDC00 + (codePoint & 0x3FF)));
            return;
        }
    }
    out.push_back(static_cast<wchar_t>(codePoint));
}

// Length of the sequence a lead byte starts and the bits it contributes; 0 when it
// cannot start one.
int SequenceLength(unsigned char lead, char32_t& bits)
{
    if (lead < 0x80) {
        bits = lead;
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        bits = lead & 0x1F;
        return 2;
    }
    if (lead >= 0xE0 && lead <= 0xEF) {
        bits = lead & 0x0F;
        return 3;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        bits = lead & 0x07;
        return 4;
    }
    return 0;
}

} // namespace

std::wstring WideFromUtf8(std::string_view text)
{
    std::wstring out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        char32_t codePoint = 0;
        const int length = SequenceLength(static_cast<unsigned char>(text[i]), codePoint);
        int taken = 1;
        bool valid = length > 0 && i + static_cast<std::size_t>(length) <= text.size();
        for (; valid && taken < length; ++taken) {
            const auto next = static_cast<unsigned char>(text[i + static_cast<std::size_t>(taken)]);
            if ((next & 0xC0) != 0x80)
                valid = false;
            else
                codePoint = (codePoint << 6) | (next & 0x3F);
        }
        static constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (valid && (codePoint < kSmallest[length] || codePoint > 0x10FFFF ||
                      (codePoint >= 0xD800 && codePoint <= 0xDFFF)))
            valid = false;
        Append(out, valid ? codePoint : kReplacement);
        i += valid ? static_cast<std::size_t>(length) : 1;
    }
    return out;
}
