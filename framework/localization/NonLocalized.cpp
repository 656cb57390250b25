#include "NonLocalized.h"

int CNonLocalized::ApplyLanguage(const CLanguage& language)
{
    return language.IsNeutral();
}

int CNonLocalized::IsLanguageAvailable(const CLanguage& language)
{
    return language.IsNeutral();
}
