#include "Win32FileSystem.h"

#include "LongPath.h"
#include "framework/files/PortablePath.h"
#include "SystemPath.h"
#include "Win32FileDevice.h"

#include <windows.h>

namespace {

DWORD AccessOf(SFileOpenRequest::EAccess access)
{
    switch (access) {
    case SFileOpenRequest::EAccess::Read:
        return GENERIC_READ;
    case SFileOpenRequest::EAccess::Write:
        return GENERIC_WRITE;
    case SFileOpenRequest::EAccess::ReadWrite:
        break;
    }
    return GENERIC_READ | GENERIC_WRITE;
}

DWORD DispositionOf(SFileOpenRequest::EDisposition disposition)
{
    switch (disposition) {
    case SFileOpenRequest::EDisposition::OpenExisting:
        return OPEN_EXISTING;
    case SFileOpenRequest::EDisposition::CreateAlways:
        return CREATE_ALWAYS;
    case SFileOpenRequest::EDisposition::OpenAlways:
        return OPEN_ALWAYS;
    case SFileOpenRequest::EDisposition::CreateNew:
        break;
    }
    return CREATE_NEW;
}

// The root the system answers sector questions for: the drive, or the volume's mount point.
CPathString VolumeRootOf(const wchar_t* pszPath)
{
    const CPathString::View path(pszPath);
    if (path.size() >= 2 && path[1] == L':')
        return PortablePath::GetComponent(path, 0);
    wchar_t volume[MAX_PATH + 1] = {};
    if (::GetVolumePathNameW(pszPath, volume, MAX_PATH))
        return CPathString(volume);
    return CPathString();
}

} // namespace

CWin32FileSystem& CWin32FileSystem::Instance()
{
    static CWin32FileSystem fileSystem;
    return fileSystem;
}

int CWin32FileSystem::Open(const wchar_t* pszPath, const SFileOpenRequest& request,
                           std::unique_ptr<IFileDevice>& pDevice)
{
    DWORD dwFlags = request.hint == SFileOpenRequest::EHint::Sequential ? FILE_FLAG_SEQUENTIAL_SCAN
                                                                          : FILE_FLAG_RANDOM_ACCESS;
    if (request.bNoBuffering)
        dwFlags |= FILE_FLAG_NO_BUFFERING;
    const std::wstring systemPath = LongPath::ForSystem(pszPath);
    CFileHandle handle(::CreateFileW(systemPath.c_str(), AccessOf(request.access), request.bShareRead ? FILE_SHARE_READ : 0,
                                     nullptr, DispositionOf(request.disposition), dwFlags, nullptr));
    if (!handle)
        return static_cast<int>(::GetLastError());
    pDevice = std::make_unique<CWin32FileDevice>(std::move(handle));
    return 0;
}

int CWin32FileSystem::RemoveFile(const wchar_t* pszPath)
{
    return ::DeleteFileW(LongPath::ForSystem(pszPath).c_str()) ? 0 : static_cast<int>(::GetLastError());
}

int CWin32FileSystem::GetSectorSize(const wchar_t* pszPath, std::uint32_t& nSectorSize)
{
    const CPathString root = VolumeRootOf(pszPath);
    DWORD dwSectorsPerCluster = 0;
    DWORD dwBytesPerSector = 0;
    DWORD dwFreeClusters = 0;
    DWORD dwClusters = 0;
    if (!::GetDiskFreeSpaceW(root.IsEmpty() ? nullptr : root.c_str(), &dwSectorsPerCluster, &dwBytesPerSector,
                             &dwFreeClusters, &dwClusters))
        return static_cast<int>(::GetLastError());
    nSectorSize = dwBytesPerSector;
    return 0;
}

std::uint32_t CWin32FileSystem::GetPageSize()
{
    SYSTEM_INFO info{};
    ::GetSystemInfo(&info);
    return info.dwPageSize;
}

CPathString CWin32FileSystem::GetWorkingDirectory()
{
    return SystemPath::GetWorkingDirectory();
}
