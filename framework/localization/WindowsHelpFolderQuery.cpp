#include "HelpFolderQuery.h"

#include <windows.h>

#include "win32/Handle.h"

namespace HelpFolderQuery {

bool Exists(const std::wstring& path)
{
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<std::wstring> EntryNames(const std::wstring& folder)
{
    std::wstring pattern = folder.empty() ? L"." : folder;
    if (pattern.back() != L'\\' && pattern.back() != L'/')
        pattern += L'\\';
    pattern += L'*';
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW entry{};
    CFindHandle find(::FindFirstFileW(pattern.c_str(), &entry));
    if (!find)
        return names;
    do {
        const std::wstring name = entry.cFileName;
        if (name != L"." && name != L"..")
            names.push_back(name);
    } while (::FindNextFileW(find.Get(), &entry));
    return names;
}

} // namespace HelpFolderQuery
