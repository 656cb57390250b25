#include "PortableLocalePlatform.h"

#include "AnsiCodePageTable.h"
#include "CodePageConverter.h"

unsigned CPortableLocalePlatform::AnsiCodePage(uint16_t langId) const
{
    return AnsiCodePageTable::Lookup(langId);
}

uint16_t CPortableLocalePlatform::DefaultLangID(LangIdSource) const
{
    return 0x0409;
}

std::wstring CPortableLocalePlatform::Decode(const std::string& text, unsigned codePage) const
{
    std::wstring wide;
    if (!CCodePageConverter::ToWide(text, codePage == 0 ? kDefaultCodePage : codePage, wide))
        return std::wstring();
    return wide;
}

const ILocalePlatform& LocalePlatform()
{
    static const CPortableLocalePlatform platform;
    return platform;
}
