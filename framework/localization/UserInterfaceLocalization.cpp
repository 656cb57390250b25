#include "UserInterfaceLocalization.h"

#include "HelpFiles.h"
#include "Localization.h"
#include "win32/FileSystemPath.h"
#include "win32/WinApp.h"

int COfcUserInterfaceLocalization::SetLanguage(const CLanguage& language, std::wstring helpFolder)
{
    if (GetLocalization() == nullptr)
        return 0;
    if (!ApplyLanguage(language))
        return 0;
    m_language = language;
    static_cast<void>(UpdateHelpFile(std::move(helpFolder)));
    return 1;
}

bool COfcUserInterfaceLocalization::UpdateHelpFile(std::wstring helpFolder)
{
    CWinApp* app = AfxGetApp();
    if (app == nullptr)
        return false;
    const CLanguage language = GetLanguage();
    std::wstring folder = std::move(helpFolder);
    if (folder.empty()) {
        const std::wstring program = FileSystemPath::ModulePath(nullptr);
        folder = program.substr(0, program.find_last_of(L"\\/") + 1);
    }
    const std::wstring baseA = HelpBaseName(app->m_strAppName, language);
    const std::wstring baseB = HelpBaseName(app->m_strExeName, language);
    std::wstring found;
    if (FindHelpFile(&found, folder.c_str(), baseA.c_str(), baseB.c_str(), language, app->m_strAppName.c_str()))
        app->m_strHelpFilePath = found;
    return true;
}
