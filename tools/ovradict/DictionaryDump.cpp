#include "DictionaryDump.h"

#include "framework/localization/CodePageConverter.h"

#include <cstdio>

namespace {

constexpr unsigned kKeyCodePage = 1252;

std::string Quoted(const std::string& utf8)
{
    std::string quoted = "\"";
    for (const char c : utf8) {
        switch (c) {
        case '"':
            quoted += "\\\"";
            break;
        case '\\':
            quoted += "\\\\";
            break;
        case '\n':
            quoted += "\\n";
            break;
        case '\r':
            quoted += "\\r";
            break;
        case '\t':
            quoted += "\\t";
            break;
        default:
            quoted += c;
        }
    }
    return quoted + "\"";
}

// A text that does not decode is shown byte by byte, so a broken entry is still visible.
std::string Decoded(const std::string& text, unsigned codePage)
{
    std::string utf8;
    if (codePage != 0 && CCodePageConverter::ToUtf8(text, codePage, utf8))
        return Quoted(utf8);
    std::string hex = "bytes";
    char digits[4];
    for (const unsigned char c : text) {
        std::snprintf(digits, sizeof(digits), " %02X", c);
        hex += digits;
    }
    return hex;
}

std::string CodeOf(const CLanguage& language)
{
    if (language.IsNeutral())
        return "---";
    if (!language.IsValid())
        return "???";
    const std::wstring code = language.GetCode();
    return std::string(code.begin(), code.end());
}

} // namespace

std::string DictionaryDump::Text(const CMergedLocalizationDictionary& dictionary)
{
    std::string out = "# " + std::to_string(dictionary.GetEntries().size()) + " entries\n";
    for (const auto& [key, translations] : dictionary.GetEntries()) {
        out += "\nkey " + Decoded(key, kKeyCodePage) + "\n";
        for (const auto& [language, text] : translations)
            out += "  " + CodeOf(language) + " " + Decoded(text, language.GetAnsiCodePage()) + "\n";
    }
    return out;
}
