#pragma once

#include "UserInterfaceLocalization.h"

// Texts from the merged dictionary resource: the English text is the key, the
// lookup table holds one language at a time.
class CDictionaryLocalization final : public COfcUserInterfaceLocalization
{
public:
    int ApplyLanguage(const CLanguage& language) override;
    int IsLanguageAvailable(const CLanguage& language) override;

private:
    bool EnsureDictionaryLoaded();
    // The dictionary holds Spanish under the traditional sort's code only.
    static CLanguage AsStored(const CLanguage& language);

    bool m_bDictionaryLoaded = false;
};
