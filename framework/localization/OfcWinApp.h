#pragma once

#include "win32/WinApp.h"

#include <string>

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
    ~COfcWinApp() override;

    int DoMessageBox(const std::wstring& text, UINT type, UINT helpId) override;
    // Shows the help file of the current language (ShowHelp), for the framework's
    // product line 1034.
    virtual void WinHelp(DWORD_PTR data, UINT command);
    // Classic ".hlp" help through the system's help program.
    virtual void WinHelpInternal(DWORD_PTR data, UINT command);

    // `language` is a three-letter code or a culture name.
    virtual int SetUILanguage(std::wstring language, std::wstring helpFolder);
    // The culture name of the current language; empty when none has been applied.
    virtual std::wstring GetUILanguage();
};
