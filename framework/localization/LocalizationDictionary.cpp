#include "LocalizationDictionary.h"

#include <algorithm>

bool CLocalizationDictionary::SetLanguage(const CLanguage& language)
{
    if (!m_entries.empty())
        return false;
    m_language = language;
    m_nCodePage = language.GetAnsiCodePage();
    return true;
}

void CLocalizationDictionary::Add(const wchar_t* key, const wchar_t* text)
{
    if (key == nullptr)
        return;
    m_entries.emplace(key, text != nullptr ? text : L"");
}

bool CLocalizationDictionary::Translate(const wchar_t* key, std::wstring& text) const
{
    if (key == nullptr)
        return false;
    std::wstring lookup(key);
    auto found = m_entries.find(lookup);
    if (found == m_entries.end()) {
        const size_t before = lookup.size();
        std::erase(lookup, L'&');
        if (lookup.size() == before)
            return false;
        found = m_entries.find(lookup);
        if (found == m_entries.end())
            return false;
    }
    text = found->second;
    return true;
}

CLocalizationDictionary& GetDictionary()
{
    static CLocalizationDictionary dictionary;
    return dictionary;
}
