#include "MUILocalization.h"

#include "framework/files/windows/DirectorySearch.h"
#include "framework/files/windows/WindowsDirEntry.h"

#include <windows.h>

int CMUILocalization::IsLanguageAvailable(const CLanguage& language)
{
    const std::wstring pattern = language.GetCultureName().substr(0, 2) + L"*";
    const auto pFolders = DirectorySearch::FindDirectories(pattern.c_str(), 0, DirEntryOption::kShortNameFallback);
    return pFolders && pFolders->HasEntry() ? TRUE : FALSE;
}

int CMUILocalization::ApplyLanguage(const CLanguage& language)
{
    return IsLanguageAvailable(language);
}
