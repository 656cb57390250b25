#include "Utf8Text.h"

#include "payload/Utf8.h"

namespace {

constexpr char32_t kReplacement = 0xFFFD;

void Append(std::wstring& out, char32_t codePoint)
{
    if constexpr (sizeof(wchar_t) == 2)
        Utf8::AppendUtf16(out, codePoint);
    else
        out.push_back(static_cast<wchar_t>(codePoint));
}

} // namespace

// A malformed sequence costs one byte, so the bytes behind a broken lead still count.
std::wstring WideFromUtf8(std::string_view text)
{
    std::wstring out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        char32_t codePoint = kReplacement;
        if (!Utf8::Decode(text, i, codePoint))
            ++i;
        Append(out, codePoint);
    }
    return out;
}
