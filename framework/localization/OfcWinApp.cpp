#include "OfcWinApp.h"

#include "Localization.h"
#include "LocalizationDictionary.h"
#include "UserInterfaceLocalization.h"

COfcWinApp::COfcWinApp(int localizationKind)
{
    // An unknown kind still installs a provider (one without localization).
    static_cast<void>(InitLocalization(localizationKind));
}

COfcWinApp::~COfcWinApp()
{
    ReleaseLocalization();
}

int COfcWinApp::DoMessageBox(const std::wstring& text, UINT type, UINT helpId)
{
    std::wstring translated;
    if (GetDictionary().Translate(text.c_str(), translated))
        return CWinApp::DoMessageBox(translated, type, helpId);
    return CWinApp::DoMessageBox(text, type, helpId);
}

void COfcWinApp::WinHelp(DWORD_PTR, UINT)
{
}

int COfcWinApp::SetUILanguage(std::wstring language, std::wstring helpFolder)
{
    COfcUserInterfaceLocalization* provider = GetLocalization();
    if (provider == nullptr)
        return kNoProvider;
    if (GetLocalizationKind() == kNoLocalization)
        return kNotLocalized;
    const CLanguage wanted = CLanguage::FromString(language.c_str(), false);
    return provider->SetLanguage(wanted, std::move(helpFolder)) ? kLanguageApplied : kLanguageFailed;
}

std::wstring COfcWinApp::GetUILanguage()
{
    const COfcUserInterfaceLocalization* provider = GetLocalization();
    return provider != nullptr ? provider->GetLanguage().GetCultureName() : std::wstring();
}
