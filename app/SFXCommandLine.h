#pragma once

#include <cstdint>
#include <string>

// The installer's options, parsed from the text that follows the program's name.
// Portable: no Windows headers, so the rules are tested natively.
struct CSFXCommandLine
{
    int32_t m_bQuiet = 0;            // "/q"
    int32_t m_bWait = 0;             // "/w"
    int32_t m_bSkipRebootCheck = 0;  // "/s"
    int32_t m_bExtractOnly = 0;      // "/u"
    int32_t m_bCleanup = 0;          // "/CLEANUP"
    std::wstring m_strUFPath;        // "/UFPATH=" value, quotes at either end removed
    std::wstring m_strSetupArgs;     // every other token, each preceded by one blank

    // Tokens are copied into a buffer of this many units, terminator included.
    static constexpr size_t kTokenBufferUnits = 1024;

    void Parse(const wchar_t* commandLine);

private:
    void ApplyToken(const std::wstring& token);
};
