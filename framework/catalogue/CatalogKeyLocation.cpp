#include "CatalogKeyLocation.h"

std::wstring JoinKeyPath(const std::wstring& path, const std::wstring& subPath)
{
    if (path.empty())
        return subPath;
    const bool pathEnds = path.back() == L'\\';
    const bool subStarts = !subPath.empty() && subPath.front() == L'\\';
    if (pathEnds && subStarts)
        return path + subPath.substr(1);
    if (!pathEnds && !subPath.empty() && !subStarts)
        return path + L'\\' + subPath;
    return path + subPath;
}
