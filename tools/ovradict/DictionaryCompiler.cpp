#include "DictionaryCompiler.h"

#include "FormatConversions.h"
#include "framework/localization/CodePageConverter.h"
#include "framework/localization/MemoryWriteArchive.h"

#include <map>

namespace {
constexpr unsigned kKeyCodePage = 1252;

std::string Narrow(const std::wstring& text)
{
    return std::string(text.begin(), text.end());
}
} // namespace

bool CDictionaryCompiler::SetKeys(const std::vector<std::string>& keys)
{
    bool ok = true;
    for (const std::string& key : keys) {
        std::string ansi;
        if (key.empty() || !CCodePageConverter::FromUtf8(key, kKeyCodePage, ansi) || ansi.find('\0') != std::string::npos)
            ok = Fail("key \"" + key + "\" is not a text of code page 1252");
        else if (!m_dictionary.GetEntries().emplace(ansi, CTranslationMap()).second)
            ok = Fail("key \"" + key + "\" is given twice");
        else
            m_keys.push_back(key);
    }
    return ok;
}

bool CDictionaryCompiler::AddSourceLanguage(const std::wstring& code)
{
    std::vector<std::pair<std::string, std::string>> identity;
    for (const std::string& key : m_keys)
        identity.emplace_back(key, key);
    return AddLanguage(code, "source language " + Narrow(code), identity);
}

bool CDictionaryCompiler::AddLanguage(const std::wstring& code, const std::string& origin,
                                      const std::vector<std::pair<std::string, std::string>>& translations)
{
    CLanguage language;
    if (!StartLanguage(code, origin, language))
        return false;
    const unsigned codePage = language.GetAnsiCodePage();
    std::map<std::string, std::string> byKey(translations.begin(), translations.end());
    bool ok = true;
    for (const std::string& key : m_keys) {
        const auto found = byKey.find(key);
        const std::string text = found != byKey.end() ? found->second : std::string();
        if (found != byKey.end())
            byKey.erase(found);
        if (text.empty()) {
            ok = Fail(origin + ": no translation of \"" + key + "\"");
            continue;
        }
        if (FormatConversions::Of(text) != FormatConversions::Of(key))
            ok = Fail(origin + ": \"" + text + "\" does not keep the conversions of \"" + key + "\" in order");
        std::string ansi;
        std::string ansiKey;
        if (!CCodePageConverter::FromUtf8(text, codePage, ansi) || ansi.find('\0') != std::string::npos) {
            ok = Fail(origin + ": \"" + text + "\" has characters outside code page " + std::to_string(codePage));
            continue;
        }
        if (!CCodePageConverter::FromUtf8(key, kKeyCodePage, ansiKey))
            continue;
        m_dictionary.GetEntries()[ansiKey].emplace(language, ansi);
    }
    for (const auto& [extra, text] : byKey)
        ok = Fail(origin + ": \"" + extra + "\" is not a key of the template");
    return ok;
}

bool CDictionaryCompiler::StartLanguage(const std::wstring& code, const std::string& origin, CLanguage& language)
{
    language = CLanguage::FromCode(code.c_str(), false);
    if (!language.IsValid())
        return Fail(origin + ": \"" + Narrow(code) + "\" is not a language code");
    if (language.GetAnsiCodePage() == 0)
        return Fail(origin + ": no ANSI code page is known for " + Narrow(code));
    for (const auto& [key, translations] : m_dictionary.GetEntries())
        if (translations.contains(language))
            return Fail(origin + ": language " + Narrow(code) + " is given twice");
    return true;
}

std::vector<unsigned char> CDictionaryCompiler::Serialize()
{
    CMemoryWriteArchive archive;
    m_dictionary.Serialize(archive);
    return archive.GetBytes();
}

bool CDictionaryCompiler::Fail(const std::string& error)
{
    m_errors.push_back(error);
    return false;
}
