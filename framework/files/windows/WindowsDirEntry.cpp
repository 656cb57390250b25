#include "WindowsDirEntry.h"

#include "LongPath.h"
#include "framework/files/windows/PortableInvalidFile.h"
#include "framework/files/PortablePath.h"
#include "SystemPath.h"
#include "SystemQueries.h"
#include "WindowsTime.h"

#include <windows.h>

#include <algorithm>
#include <vector>

CWindowsDirEntry::CWindowsDirEntry(CPathString::View directory, CPathString::View pattern, std::intptr_t nValue,
                                   std::uint32_t nRequired, std::uint32_t nExcluded, std::uint32_t nOptions)
    : CDirEntry(directory, pattern, nValue, nRequired, nExcluded, nOptions)
{
    Advance();
}

CWindowsDirEntry::~CWindowsDirEntry() = default;

CPortableFile& CWindowsDirEntry::MakeEntryFile()
{
    std::unique_ptr<CPortableFile>& pFile = File();
    if (!pFile) {
        if (HasEntry())
            pFile = std::make_unique<CPortableFile>(PortablePath::Join(Directory().GetView(), m_info.name.GetView()).GetView(),
                                                    CPortableFile::kReadWrite);
        else
            pFile = std::make_unique<CPortableInvalidFile>();
    }
    return *pFile;
}

bool CWindowsDirEntry::Search()
{
    WIN32_FIND_DATAW data{};
    bool bFound = false;
    if (!m_search) {
        const CPathString pattern = PortablePath::Join(Directory().GetView(), Pattern().GetView());
        m_search.Reset(::FindFirstFileW(LongPath::ForSystem(pattern.c_str()).c_str(), &data));
        bFound = m_search.IsValid();
    } else {
        bFound = ::FindNextFileW(m_search.Get(), &data) != 0;
    }
    m_info.bValid = bFound;
    if (!bFound)
        return false;
    m_info.name = CPathString(data.cFileName);
    m_info.nAttributes = data.dwFileAttributes;
    m_info.bHasCreationTime = WindowsTime::IsRecorded(data.ftCreationTime);
    m_info.creationTime = WindowsTime::FromFileTime(m_info.bHasCreationTime ? data.ftCreationTime : data.ftLastAccessTime);
    m_info.lastAccessTime = WindowsTime::FromFileTime(data.ftLastAccessTime);
    m_info.lastWriteTime = WindowsTime::FromFileTime(data.ftLastWriteTime);
    m_info.nSize = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0
                       ? ~std::uint64_t{0}
                       : (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
    m_shortName = CPathString(data.cAlternateFileName);
    return true;
}

bool CWindowsDirEntry::Accepts() const
{
    const CPathString::View name = m_info.name.GetView();
    if (name == L"." || name == L"..")
        return false;
    return (Required() & m_info.nAttributes) == Required() && (Excluded() & m_info.nAttributes) == 0;
}

bool CWindowsDirEntry::IsReachable() const
{
    const CPathString path = PortablePath::Join(Directory().GetView(), m_info.name.GetView());
    if ((m_info.nAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        const CPathString previous = SystemPath::GetWorkingDirectory();
        if (!SystemPath::ChangeWorkingDirectory(path.GetView()))
            return false;
        // Where the previous directory is gone there is nothing better to return to.
        (void)SystemPath::ChangeWorkingDirectory(previous.GetView());
        return true;
    }
    const CFileHandle file(::CreateFileW(LongPath::ForSystem(path.c_str()).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    return file.IsValid();
}

void CWindowsDirEntry::ApplyOptions()
{
    if ((Options() & DirEntryOption::kShortNameFallback) != 0 && !m_shortName.IsEmpty()) {
        const bool bFallback = SystemQueries::NeedsShortNameFallback();
        const bool bUse = bFallback ? !IsReachable() : m_info.name.GetView().find_first_of(L"*\\?:") != CPathString::View::npos;
        if (bUse)
            m_info.name = m_shortName;
    }
    if ((Options() & DirEntryOption::kCaseFix) != 0) {
        const bool bApplies = !m_info.bHasCreationTime ||
                              ((Options() & DirEntryOption::kCaseFixAlways) != 0 && !SystemQueries::NeedsShortNameFallback());
        if (bApplies)
            m_info.name = FixCase(m_info.name.GetView());
    }
}

CPathString CWindowsDirEntry::FixCase(CPathString::View name)
{
    if (name.empty())
        return CPathString(name);
    std::vector<wchar_t> upper(name.begin(), name.end());
    ::CharUpperBuffW(upper.data(), static_cast<DWORD>(upper.size()));
    if (!std::equal(upper.begin(), upper.end(), name.begin()))
        return CPathString(name);
    std::vector<wchar_t> fixed(name.begin(), name.end());
    ::CharLowerBuffW(fixed.data() + 1, static_cast<DWORD>(fixed.size() - 1));
    return CPathString(CPathString::View(fixed.data(), fixed.size()));
}

void CWindowsDirEntry::Advance()
{
    bool bAccepted = false;
    while (HasEntry() && !bAccepted) {
        SetMore(Search());
        bAccepted = HasEntry() && Accepts();
    }
    if (bAccepted)
        ApplyOptions();
}
