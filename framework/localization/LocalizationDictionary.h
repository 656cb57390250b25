#pragma once

#include "Language.h"

#include <map>
#include <string>

// The lookup table: English text to its translation in one language. Filled on
// the main thread before other threads exist and only read afterwards.
class CLocalizationDictionary
{
public:
    virtual ~CLocalizationDictionary() = default;

    void Clear() { m_entries.clear(); }
    // False and no change while the table has entries.
    bool SetLanguage(const CLanguage& language);
    // An existing key keeps its text.
    void Add(const wchar_t* key, const wchar_t* text);
    // The exact key, else the key without its "&" markers; `text` is written only on success.
    bool Translate(const wchar_t* key, std::wstring& text) const;

    CLanguage GetLanguage() const { return m_language; }
    unsigned GetCodePage() const { return m_nCodePage; }
    size_t GetCount() const { return m_entries.size(); }

private:
    std::map<std::wstring, std::wstring> m_entries;
    CLanguage m_language;
    unsigned m_nCodePage = 0;
};

// The process's one lookup table.
CLocalizationDictionary& GetDictionary();
