#include "UserInterfaceLocalization.h"

#include "Localization.h"

int COfcUserInterfaceLocalization::SetLanguage(const CLanguage& language, std::wstring helpFolder)
{
    if (GetLocalization() == nullptr)
        return 0;
    if (!ApplyLanguage(language))
        return 0;
    m_language = language;
    // The help file follows the language once help files exist; `helpFolder` is for them.
    static_cast<void>(helpFolder);
    return 1;
}
