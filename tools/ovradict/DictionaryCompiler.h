#pragma once

#include "framework/localization/MergedLocalizationDictionary.h"

#include <string>
#include <vector>

// Builds the merged dictionary from the English keys and one catalog per language:
// keys converted to Windows-1252, each translation to its language's ANSI code page.
class CDictionaryCompiler
{
public:
    // The keys, in UTF-8; every language must translate every one.
    [[nodiscard]] bool SetKeys(const std::vector<std::string>& keys);
    // A language whose texts equal the keys.
    [[nodiscard]] bool AddSourceLanguage(const std::wstring& code);
    // One catalog's translations (UTF-8), keyed by msgid.
    [[nodiscard]] bool AddLanguage(const std::wstring& code, const std::string& origin,
                                   const std::vector<std::pair<std::string, std::string>>& translations);

    const CMergedLocalizationDictionary& GetDictionary() const { return m_dictionary; }
    std::vector<unsigned char> Serialize();
    const std::vector<std::string>& GetErrors() const { return m_errors; }

private:
    bool StartLanguage(const std::wstring& code, const std::string& origin, CLanguage& language);
    bool Fail(const std::string& error);

    CMergedLocalizationDictionary m_dictionary;
    std::vector<std::string> m_keys;
    std::vector<std::string> m_errors;
};
