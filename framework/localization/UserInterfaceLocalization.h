#pragma once

#include "Language.h"

#include <string>

// A localization provider: puts the user interface into a language. One is
// installed per process (InitLocalization); the kind chosen at start decides which.
class COfcUserInterfaceLocalization
{
public:
    COfcUserInterfaceLocalization() = default;
    virtual ~COfcUserInterfaceLocalization() = default;
    COfcUserInterfaceLocalization(const COfcUserInterfaceLocalization&) = delete;
    COfcUserInterfaceLocalization& operator=(const COfcUserInterfaceLocalization&) = delete;

    // Makes the language the current one for the texts; does not change GetLanguage().
    virtual int ApplyLanguage(const CLanguage& language) = 0;
    virtual int IsLanguageAvailable(const CLanguage& language) = 0;

    // The language switch for the rest of the program: applies the language and
    // makes it the current one. FALSE leaves the current language as it was.
    int SetLanguage(const CLanguage& language, std::wstring helpFolder);
    // Points the application's help file at the best one for the current language in
    // `helpFolder` (the program's folder when empty); keeps it when none is found.
    // False only without an application object.
    bool UpdateHelpFile(std::wstring helpFolder);
    CLanguage GetLanguage() const { return m_language; }

    void SetDictionaryResourceId(unsigned id) { m_nDictionaryResourceId = id; }
    unsigned GetDictionaryResourceId() const { return m_nDictionaryResourceId; }

private:
    CLanguage m_language;
    unsigned m_nDictionaryResourceId = 0;
};
