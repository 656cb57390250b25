#pragma once

#include <cstdint>
#include <string>

// The installer's options, parsed from the text that follows the program's name.
// Portable: no Windows headers, so the rules are tested natively.
class CSFXCommandLine
{
public:
    bool m_bQuiet = false;           // "/q"
    bool m_bWait = false;            // "/w"
    bool m_bSkipRebootCheck = false; // "/s"
    bool m_bExtractOnly = false;     // "/u"
    bool m_bCleanup = false;         // "/CLEANUP"
    std::wstring m_strUFPath;        // "/UFPATH=" value, quotes at either end removed
    std::wstring m_strSetupArgs;     // every other token, each preceded by one blank

    // Tokens are copied into a buffer of this many units, terminator included.
    static constexpr size_t kTokenBufferUnits = 1024;

    void Parse(const wchar_t* commandLine);

private:
    void ApplyToken(const std::wstring& token);
};
