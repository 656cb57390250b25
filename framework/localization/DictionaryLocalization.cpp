#include "DictionaryLocalization.h"

#include "DictionaryResource.h"
#include "LocalizationDictionary.h"
#include "MergedLocalizationDictionary.h"
#include "win32/WinApp.h"

#include <cwchar>

bool CDictionaryLocalization::EnsureDictionaryLoaded()
{
    if (!m_bDictionaryLoaded && LoadMergedDictionary(AfxGetResourceHandle(), GetDictionaryResourceId()))
        m_bDictionaryLoaded = true;
    return m_bDictionaryLoaded;
}

CLanguage CDictionaryLocalization::AsStored(const CLanguage& language)
{
    if (_wcsicmp(language.GetCode().c_str(), L"ESN") == 0)
        return CLanguage::FromCode(L"ESP", false);
    return language;
}

int CDictionaryLocalization::ApplyLanguage(const CLanguage& language)
{
    if (!EnsureDictionaryLoaded())
        return FALSE;
    if (language.IsNeutral()) {
        GetDictionary().Clear();
        return TRUE;
    }
    return GetMergedDictionary().LoadLanguage(AsStored(language), GetDictionary()) ? TRUE : FALSE;
}

int CDictionaryLocalization::IsLanguageAvailable(const CLanguage& language)
{
    if (!EnsureDictionaryLoaded())
        return FALSE;
    if (language.IsNeutral())
        return TRUE;
    if (!language.IsValid())
        return FALSE;
    return GetMergedDictionary().HasLanguage(AsStored(language)) ? TRUE : FALSE;
}
