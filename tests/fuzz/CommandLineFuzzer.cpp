// Parses the input as the text after the program's name, one byte per character
// up to the first zero. The text sits in a buffer of exactly its length, so a read
// past the terminator is caught; every option value is cut to the token buffer, and
// every character passed on to the setup program comes from the input, in order.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "FuzzCheck.h"
#include "app/SFXCommandLine.h"

namespace {

bool IsBlank(wchar_t c)
{
    return c == L' ' || c == L'\t';
}

std::wstring WithoutBlanks(const std::wstring& text)
{
    std::wstring result;
    for (const wchar_t c : text)
        if (!IsBlank(c))
            result += c;
    return result;
}

bool IsSubsequence(const std::wstring& part, const std::wstring& whole)
{
    size_t at = 0;
    for (const wchar_t c : part) {
        while (at < whole.size() && whole[at] != c)
            ++at;
        if (at == whole.size())
            return false;
        ++at;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    size_t length = 0;
    while (length < size && data[length] != 0)
        ++length;
    const auto text = std::make_unique<wchar_t[]>(length + 1);
    for (size_t i = 0; i < length; ++i)
        text[i] = static_cast<wchar_t>(data[i] < 0x80 ? data[i] : 0x100 + data[i]);
    text[length] = L'\0';

    CSFXCommandLine line;
    line.Parse(text.get());

    const std::wstring input(text.get(), length);
    const size_t tokenLimit = CSFXCommandLine::kTokenBufferUnits - 1;
    Check(line.m_strUFPath.size() <= tokenLimit);
    Check(line.m_strUFPath.empty() || (line.m_strUFPath.front() != L'"' && line.m_strUFPath.back() != L'"'));
    Check(IsSubsequence(line.m_strUFPath, input));
    Check(line.m_strSetupArgs.empty() || line.m_strSetupArgs.front() == L' ');
    Check(IsSubsequence(WithoutBlanks(line.m_strSetupArgs), WithoutBlanks(input)));
    // One separator per token and no token longer than the buffer.
    Check(line.m_strSetupArgs.size() <= 2 * length + 1);
    Check(!line.m_bQuiet || input.find(L"/q") != std::wstring::npos);
    Check(!line.m_bCleanup || input.find(L"/CLEANUP") != std::wstring::npos);
    return 0;
}
