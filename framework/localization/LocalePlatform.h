#pragma once

#include <cstdint>
#include <string>

// What the language and dictionary code asks of the operating system. Windows
// answers from its locale data; other hosts from built-in tables and iconv.
class ILocalePlatform
{
public:
    enum class LangIdSource { SystemDefault, UserDefault, SystemDefaultUI, UserDefaultUI };

    virtual ~ILocalePlatform() = default;
    // LOCALE_IDEFAULTANSICODEPAGE of a language; 0 when unknown.
    virtual unsigned AnsiCodePage(uint16_t langId) const = 0;
    virtual uint16_t DefaultLangID(LangIdSource source) const = 0;
    // 8-bit text of a code page (0: the system's ANSI code page) to UTF-16; empty on failure.
    virtual std::wstring Decode(const std::string& text, unsigned codePage) const = 0;
};

// The platform of this build.
const ILocalePlatform& LocalePlatform();
