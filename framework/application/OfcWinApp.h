#pragma once

#include "win32/WinApp.h"

#include <memory>
#include <string>

class COfcUserInterfaceLocalization;

// The framework's application base: installs the localization provider of the
// kind given at construction, translates every framework message box and lets an
// application switch its user-interface language.
class COfcWinApp : public CWinApp
{
public:
    // Results of SetUILanguage.
    enum EUILanguageResult : int {
        kLanguageApplied = 0,
        kLanguageFailed = 2,
        kNoProvider = 5,
        kNotLocalized = 6,
    };

    explicit COfcWinApp(int localizationKind);
    // Installs the given provider of the kind, so that the program links no other.
    COfcWinApp(int localizationKind, std::unique_ptr<COfcUserInterfaceLocalization> provider);
    ~COfcWinApp() override;

    // How WinHelp shows help: ShowHelp's signature.
    using HelpDisplay = void (*)(CWinApp* app, const std::wstring& helpPath, DWORD_PTR data, UINT command,
                                 const std::wstring& uiCulture, int productLineId, const std::wstring& message);
    // A program with help installs ShowHelp once, through EnableHelpDisplay (ShowHelp.h).
    // Until then WinHelp hands over to the classic help, so a program without help (the
    // installer) links neither the conditional box nor the product catalogue's code.
    static void SetHelpDisplay(HelpDisplay display);

    int DoMessageBox(const std::wstring& text, UINT type, UINT helpId) override;
    // Shows the help file of the current language through the installed display, for
    // the framework's product line 1034.
    virtual void WinHelp(DWORD_PTR data, UINT command);
    // Classic ".hlp" help through the system's help program.
    virtual void WinHelpInternal(DWORD_PTR data, UINT command);

    // `language` is a three-letter code or a culture name.
    virtual int SetUILanguage(std::wstring language, std::wstring helpFolder);
    // The culture name of the current language; empty when none has been applied.
    virtual std::wstring GetUILanguage();
};
