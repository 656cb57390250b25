#include "WindowsHelpFolderQuery.h"

#include <windows.h>

#include "win32/Handle.h"

bool CWindowsHelpFolderQuery::Exists(const std::wstring& path) const
{
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void CWindowsHelpFolderQuery::ListMatching(const std::wstring& folder, const std::wstring& extension,
                                           const EntryVisitor& visit) const
{
    std::wstring pattern = folder.empty() ? L"." : folder;
    if (pattern.back() != L'\\' && pattern.back() != L'/')
        pattern += L'\\';
    pattern += L'*';
    pattern += extension;
    WIN32_FIND_DATAW entry{};
    CFindHandle find(::FindFirstFileW(pattern.c_str(), &entry));
    if (!find)
        return;
    do {
        if (!visit(entry.cFileName))
            return;
    } while (::FindNextFileW(find.Get(), &entry));
}

const IHelpFolderQuery& HelpFolderQuery()
{
    static const CWindowsHelpFolderQuery query;
    return query;
}
