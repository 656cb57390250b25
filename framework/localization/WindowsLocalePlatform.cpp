#include "WindowsLocalePlatform.h"

#include <windows.h>

#include <cwchar>

#include "win32/TextConversion.h"

unsigned CWindowsLocalePlatform::AnsiCodePage(uint16_t langId) const
{
    constexpr int kDigits = 7;
    wchar_t digits[kDigits] = {};
    if (::GetLocaleInfoW(MAKELCID(langId, SORT_DEFAULT), LOCALE_IDEFAULTANSICODEPAGE, digits, kDigits) == 0)
        return 0;
    const long value = std::wcstol(digits, nullptr, 10);
    return value > 0 ? static_cast<unsigned>(value) : 0;
}

uint16_t CWindowsLocalePlatform::DefaultLangID(LangIdSource source) const
{
    switch (source) {
    case LangIdSource::SystemDefault:
        return ::GetSystemDefaultLangID();
    case LangIdSource::UserDefault:
        return ::GetUserDefaultLangID();
    case LangIdSource::SystemDefaultUI:
        return ::GetSystemDefaultUILanguage();
    case LangIdSource::UserDefaultUI:
        return ::GetUserDefaultUILanguage();
    }
    return 0;
}

std::wstring CWindowsLocalePlatform::Decode(const std::string& text, unsigned codePage) const
{
    return AnsiToWide(text, codePage);
}

const ILocalePlatform& LocalePlatform()
{
    static const CWindowsLocalePlatform platform;
    return platform;
}
