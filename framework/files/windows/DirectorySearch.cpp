#include "DirectorySearch.h"

#include "LongPath.h"
#include "PortableFile.h"
#include "framework/files/PortablePath.h"
#include "SystemPath.h"
#include "WindowsDirEntry.h"

#include <windows.h>

#include <direct.h>
#include <vector>

namespace DirectorySearch {

namespace {

bool IsLinkedDirectory(std::uint32_t nAttributes)
{
    return (nAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 && (nAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

std::vector<CPathString> ChildrenOf(CPathString::View directory)
{
    std::vector<CPathString> children;
    for (CWindowsDirEntry entry(directory, L"*", 0, 0, 0, 0); entry.HasEntry(); entry.Next())
        children.push_back(PortablePath::Join(directory, entry.GetEntryInfo().name.GetView()));
    return children;
}

} // namespace

std::unique_ptr<CWindowsDirEntry> FindMatching(CPathString::View path, std::intptr_t nValue, std::uint32_t nRequired,
                                               std::uint32_t nExcluded, std::uint32_t nOptions)
{
    const CPathString trimmed = PortablePath::RemoveTrailingSeparators(path);
    const CPathString pattern = PortablePath::GetFileName(trimmed.GetView());
    CPathString directory = PortablePath::GetParent(trimmed.GetView());
    if (directory.IsEmpty())
        directory = SystemPath::GetWorkingDirectory();
    return std::make_unique<CWindowsDirEntry>(directory.GetView(), pattern.GetView(), nValue, nRequired, nExcluded,
                                              nOptions);
}

std::unique_ptr<CWindowsDirEntry> FindFiles(CPathString::View path, std::intptr_t nValue, std::uint32_t nOptions)
{
    return FindMatching(path, nValue, 0, FILE_ATTRIBUTE_DIRECTORY, nOptions);
}

std::unique_ptr<CWindowsDirEntry> FindDirectories(CPathString::View path, std::intptr_t nValue, std::uint32_t nOptions)
{
    return FindMatching(path, nValue, FILE_ATTRIBUTE_DIRECTORY, 0, nOptions);
}

std::uint64_t GetFolderSize(CPathString::View directory, CPathString::View pattern, std::intptr_t nValue,
                            std::uint32_t nRequired, std::uint32_t nExcluded, std::uint32_t nOptions)
{
    std::uint64_t nTotal = 0;
    for (CWindowsDirEntry entry(directory, pattern, nValue, nRequired, nExcluded, nOptions); entry.HasEntry();
         entry.Next()) {
        const SDirEntryInfo& info = entry.GetEntryInfo();
        if ((info.nAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
            nTotal += info.nSize;
    }
    for (CWindowsDirEntry sub(directory, L"*", nValue, FILE_ATTRIBUTE_DIRECTORY, 0, 0); sub.HasEntry(); sub.Next()) {
        // A link may lead outside the tree, or back into it for ever.
        if (IsLinkedDirectory(sub.GetEntryInfo().nAttributes))
            continue;
        const CPathString child = PortablePath::Join(directory, sub.GetEntryInfo().name.GetView());
        nTotal += GetFolderSize(child.GetView(), pattern, nValue, nRequired, nExcluded, nOptions);
    }
    return nTotal;
}

bool DeleteTree(CPathString::View path)
{
    const std::wstring target = LongPath::ForSystem(CPathString(path).c_str());
    const DWORD dwAttributes = ::GetFileAttributesW(target.c_str());
    if (dwAttributes == INVALID_FILE_ATTRIBUTES)
        return false;
    if ((dwAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        CPortableFile file(path, CPortableFile::kReadWrite);
        return file.Delete() == 0;
    }
    bool bAllGone = true;
    // A junction or directory link goes as a link: removing it leaves its target whole.
    if ((dwAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
        for (const CPathString& child : ChildrenOf(path))
            bAllGone = DeleteTree(child.GetView()) && bAllGone;
    }
    return ::_wrmdir(target.c_str()) == 0 && bAllGone;
}

} // namespace DirectorySearch
