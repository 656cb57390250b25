#pragma once

#include "LocalePlatform.h"

// The locale platform of hosts other than Windows: code pages from the built-in
// table, text conversion through iconv, and US English as the system language.
class CPortableLocalePlatform final : public ILocalePlatform
{
public:
    // Stands in for the system's ANSI code page, which such hosts do not have.
    static constexpr unsigned kDefaultCodePage = 1252;

    unsigned AnsiCodePage(uint16_t langId) const override;
    uint16_t DefaultLangID(LangIdSource source) const override;
    std::wstring Decode(const std::string& text, unsigned codePage) const override;
};
