#include "PortableHelpFolderQuery.h"

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

bool CPortableHelpFolderQuery::Exists(const std::wstring& path) const
{
    std::error_code error;
    return fs::exists(fs::path(path), error);
}

void CPortableHelpFolderQuery::ListMatching(const std::wstring& folder, const std::wstring&,
                                            const EntryVisitor& visit) const
{
    std::error_code error;
    for (fs::directory_iterator it(fs::path(folder.empty() ? L"." : folder), error), end; !error && it != end;
         it.increment(error)) {
        if (!visit(it->path().filename().wstring()))
            return;
    }
}

const IHelpFolderQuery& HelpFolderQuery()
{
    static const CPortableHelpFolderQuery query;
    return query;
}
