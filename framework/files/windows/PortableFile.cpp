#include "PortableFile.h"

#include "DirectorySearch.h"
#include "framework/files/FileErrorSink.h"
#include "framework/files/PortablePath.h"
#include "framework/files/PortableUnBufWinPFile.h"
#include "framework/files/PortableWinPFile.h"
#include "SystemPath.h"
#include "Win32FileSystem.h"
#include "WindowsDirEntry.h"

#include <windows.h>

namespace {

enum EEntryTime { kCreation, kLastAccess, kLastWrite };

CPathString Normalized(CPathString::View path)
{
    return PortablePath::RemoveTrailingSeparators(SystemPath::GetAbsolutePath(path).GetView());
}

} // namespace

CPortableFile::CPortableFile(CPathString::View path, std::uint32_t nFlags) : m_path(Normalized(path)), m_nFlags(nFlags)
{
}

CPortableFile::CPortableFile(SEmptyPath, std::uint32_t nFlags) : m_nFlags(nFlags)
{
}

CPortableFile::~CPortableFile() = default;

int CPortableFile::ModeOfFlags(std::uint32_t nFlags)
{
    switch (nFlags & ~kUnbuffered) {
    case kRead:
        return FileMode::kRead;
    case kWrite:
        return FileMode::kWrite;
    case kReadWrite:
        return FileMode::kReadWrite;
    default:
        return 0;
    }
}

PFile& CPortableFile::Implementation()
{
    if (!m_pImplementation) {
        IFileSystem& fileSystem = CWin32FileSystem::Instance();
        const int nMode = ModeOfFlags(m_nFlags);
        if ((m_nFlags & kUnbuffered) != 0)
            m_pImplementation = std::make_unique<CPortableUnBufWinPFile>(m_path.GetView(), nMode, 0,
                                                                         GetProcessFileErrorSink(), fileSystem);
        else
            m_pImplementation =
                std::make_unique<CPortableWinPFile>(m_path.GetView(), nMode, GetProcessFileErrorSink(), fileSystem);
    }
    return *m_pImplementation;
}

std::unique_ptr<PFile> CPortableFile::Clone()
{
    return Implementation().Clone();
}

int CPortableFile::Write(const void* pData, std::uint32_t nCount, std::uint32_t* pWritten)
{
    return Implementation().Write(pData, nCount, pWritten);
}

int CPortableFile::Read(void* pBuffer, std::uint32_t nCount, std::uint32_t* pRead)
{
    return Implementation().Read(pBuffer, nCount, pRead);
}

int CPortableFile::GetPosition(std::uint64_t* pPosition)
{
    return Implementation().GetPosition(pPosition);
}

int CPortableFile::Seek(int nOrigin, std::uint32_t nLow, std::int32_t nHigh)
{
    return Implementation().Seek(nOrigin, nLow, nHigh);
}

int CPortableFile::Close()
{
    return Implementation().Close();
}

int CPortableFile::GetLength(std::uint64_t* pLength)
{
    return Implementation().GetLength(pLength);
}

int CPortableFile::Truncate()
{
    return Implementation().Truncate();
}

int CPortableFile::Delete()
{
    return Implementation().Delete();
}

SDriveInfo CPortableFile::GetDriveInfo()
{
    return Implementation().GetDriveInfo();
}

void CPortableFile::SetFlags(std::uint32_t nFlags)
{
    m_nFlags = nFlags;
    m_pImplementation.reset();
}

int CPortableFile::GetImplementationError() const
{
    return m_pImplementation ? m_pImplementation->GetError() : -1;
}

bool CPortableFile::IsDirectory() const
{
    std::uint32_t nAttributes = 0;
    return GetAttributes(nAttributes) && (nAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool CPortableFile::GetAttributes(std::uint32_t& nAttributes) const
{
    const DWORD dwAttributes = ::GetFileAttributesW(m_path.c_str());
    if (dwAttributes == INVALID_FILE_ATTRIBUTES)
        return false;
    nAttributes = dwAttributes;
    return true;
}

bool CPortableFile::SetAttributes(std::uint32_t nAttributes) const
{
    return ::SetFileAttributesW(m_path.c_str(), nAttributes) != 0;
}

bool CPortableFile::Exists() const
{
    const CPathString::View path = m_path.GetView();
    if (PortablePath::IsBareDrive(path) || (path.size() == 3 && PortablePath::IsBareDrive(path.substr(0, 2)) &&
                                            PortablePath::IsSeparator(path[2])))
        return true;
    if (path.empty())
        return false;
    const std::unique_ptr<CWindowsDirEntry> pEntry = DirectorySearch::FindMatching(path, 0, 0, 0, 0);
    return pEntry && pEntry->HasEntry();
}

bool CPortableFile::EntryTime(int nWhich, CPortableTime& time) const
{
    if (m_path.IsEmpty())
        return false;
    const std::unique_ptr<CWindowsDirEntry> pEntry = DirectorySearch::FindMatching(m_path.GetView(), 0, 0, 0, 0);
    if (!pEntry || !pEntry->HasEntry())
        return false;
    const SDirEntryInfo& info = pEntry->GetEntryInfo();
    time = nWhich == kCreation ? info.creationTime : nWhich == kLastAccess ? info.lastAccessTime : info.lastWriteTime;
    return true;
}

bool CPortableFile::GetCreationTime(CPortableTime& time) const
{
    return EntryTime(kCreation, time);
}

bool CPortableFile::GetLastAccessTime(CPortableTime& time) const
{
    return EntryTime(kLastAccess, time);
}

bool CPortableFile::GetLastWriteTime(CPortableTime& time) const
{
    return EntryTime(kLastWrite, time);
}

std::unique_ptr<CWindowsDirEntry> CPortableFile::FindEntries(CPathString::View pattern, std::intptr_t nValue,
                                                             std::uint32_t nRequired, std::uint32_t nExcluded,
                                                             std::uint32_t nOptions) const
{
    return std::make_unique<CWindowsDirEntry>(m_path.GetView(), pattern, nValue, nRequired, nExcluded, nOptions);
}
