#include "SFXCommandLine.h"

#include <cwchar>

namespace {

constexpr wchar_t kUFPathPrefix[] = L"/UFPATH=";
constexpr size_t kUFPathPrefixLength = 8;

bool IsBlank(wchar_t c)
{
    return c == L' ' || c == L'\t';
}

bool StartsWithUFPath(const wchar_t* token, size_t available)
{
    return available >= kUFPathPrefixLength && std::wcsncmp(token, kUFPathPrefix, kUFPathPrefixLength) == 0;
}

// Returns the index one past the token's last character. The token's first
// character is never examined, so a leading quote does not open a quoted part.
size_t FindTokenEnd(const wchar_t* text, size_t start, size_t length)
{
    const bool quoteAfterBackslashToggles = StartsWithUFPath(text + start, length - start);
    bool quoted = false;
    size_t pos = start + 1;
    for (; pos < length; ++pos) {
        const wchar_t c = text[pos];
        if (c == L'"') {
            if (text[pos - 1] != L'\\' || quoteAfterBackslashToggles)
                quoted = !quoted;
        } else if (IsBlank(c) && !quoted) {
            break;
        }
    }
    return pos < length ? pos : length;
}

} // namespace

void CSFXCommandLine::Parse(const wchar_t* commandLine)
{
    if (commandLine == nullptr || *commandLine == L'\0')
        return;

    const size_t length = std::wcslen(commandLine);
    size_t pos = 0;
    while (pos < length) {
        while (pos < length && IsBlank(commandLine[pos]))
            ++pos;
        // Trailing blanks still yield one empty token, which is passed on.
        const size_t end = pos < length ? FindTokenEnd(commandLine, pos, length) : length;
        const size_t copied = std::min(end - pos, kTokenBufferUnits - 1);
        ApplyToken(std::wstring(commandLine + pos, copied));
        pos = end;
    }
}

void CSFXCommandLine::ApplyToken(const std::wstring& token)
{
    if (token == L"/q") {
        m_bQuiet = true;
    } else if (token == L"/u") {
        m_bExtractOnly = true;
    } else if (token == L"/w") {
        m_bWait = true;
    } else if (token == L"/s") {
        m_bSkipRebootCheck = true;
    } else if (token == L"/CLEANUP") {
        m_bCleanup = true;
    } else if (token.compare(0, kUFPathPrefixLength, kUFPathPrefix) == 0) {
        std::wstring value = token.substr(kUFPathPrefixLength);
        while (!value.empty() && value.back() == L'"')
            value.pop_back();
        const size_t firstNonQuote = value.find_first_not_of(L'"');
        value.erase(0, firstNonQuote == std::wstring::npos ? value.size() : firstNonQuote);
        m_strUFPath = value;
    } else {
        m_strSetupArgs += L' ';
        m_strSetupArgs += token;
    }
}
