#include "HelpFolderQuery.h"

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace HelpFolderQuery {

bool Exists(const std::wstring& path)
{
    std::error_code error;
    return fs::exists(fs::path(path), error);
}

std::vector<std::wstring> EntryNames(const std::wstring& folder)
{
    std::vector<std::wstring> names;
    std::error_code error;
    for (fs::directory_iterator it(fs::path(folder.empty() ? L"." : folder), error), end; !error && it != end;
         it.increment(error))
        names.push_back(it->path().filename().wstring());
    return names;
}

} // namespace HelpFolderQuery
