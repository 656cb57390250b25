#include "OfcWinApp.h"

#include "framework/localization/Localization.h"
#include "framework/localization/LocalizationDictionary.h"
#include "framework/localization/UserInterfaceLocalization.h"
#include "win32/Wnd.h"

#include <atomic>
#include <utility>

namespace {
// The product line whose shared key keeps the English-help notice's answer.
constexpr int kHelpProductLine = 1034;

std::atomic<COfcWinApp::HelpDisplay> s_helpDisplay{nullptr};
} // namespace

void COfcWinApp::SetHelpDisplay(HelpDisplay display)
{
    s_helpDisplay = display;
}

COfcWinApp::COfcWinApp(int localizationKind)
{
    // An unknown kind still installs a provider (one without localization).
    static_cast<void>(InitLocalization(localizationKind));
}

COfcWinApp::COfcWinApp(int localizationKind, std::unique_ptr<COfcUserInterfaceLocalization> provider)
{
    static_cast<void>(InstallLocalization(localizationKind, std::move(provider)));
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

void COfcWinApp::WinHelp(DWORD_PTR data, UINT command)
{
    if (GetLocalization() == nullptr)
        return;
    const HelpDisplay display = s_helpDisplay;
    if (display == nullptr) {
        WinHelpInternal(data, command);
        return;
    }
    display(this, m_strHelpFilePath, data, command, GetUILanguage(), kHelpProductLine, L"");
}

void COfcWinApp::WinHelpInternal(DWORD_PTR data, UINT command)
{
    const HWND owner = m_pMainWnd != nullptr ? m_pMainWnd->GetSafeHwnd() : nullptr;
    static_cast<void>(::WinHelpW(owner, m_strHelpFilePath.c_str(), command, data));
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
