#pragma once

#include "win32/WinApp.h"

// The framework's application base: chooses the localization provider at
// construction and routes framework message boxes through the translation.
class COfcWinApp : public CWinApp
{
public:
    explicit COfcWinApp(int localizationKind);
    ~COfcWinApp() override;

    int GetLocalizationKind() const { return m_nLocalizationKind; }

private:
    int m_nLocalizationKind;
};
