#include "MUILocalization.h"

#include "win32/Handle.h"

#include <windows.h>

namespace {

bool HasMatchingSubdirectory(const std::wstring& pattern)
{
    WIN32_FIND_DATAW data{};
    const CFindHandle find(::FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &data, FindExSearchLimitToDirectories,
                                              nullptr, 0));
    if (!find)
        return false;
    do {
        const std::wstring name = data.cFileName;
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 && name != L"." && name != L"..")
            return true;
    } while (::FindNextFileW(find.Get(), &data));
    return false;
}

} // namespace

int CMUILocalization::IsLanguageAvailable(const CLanguage& language)
{
    return HasMatchingSubdirectory(language.GetCultureName().substr(0, 2) + L"*") ? TRUE : FALSE;
}

int CMUILocalization::ApplyLanguage(const CLanguage& language)
{
    return IsLanguageAvailable(language);
}
