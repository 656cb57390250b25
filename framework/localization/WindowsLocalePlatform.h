#pragma once

#include "LocalePlatform.h"

// The locale platform of Windows: the system's locale data and code pages.
class CWindowsLocalePlatform final : public ILocalePlatform
{
public:
    unsigned AnsiCodePage(uint16_t langId) const override;
    uint16_t DefaultLangID(LangIdSource source) const override;
    std::wstring Decode(const std::string& text, unsigned codePage) const override;
};
