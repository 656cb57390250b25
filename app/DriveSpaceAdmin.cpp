#include "DriveSpaceAdmin.h"

#include "ExtractionRootRules.h"
#include "win32/FileSystemPath.h"

CDriveSpaceAdmin::~CDriveSpaceAdmin()
{
    m_entries.clear();
}

void CDriveSpaceAdmin::GetDriveSpace(const std::wstring* drive, uint64_t* freeBytes, uint64_t* totalBytes)
{
    if (drive == nullptr || drive->empty())
        return;
    DWORD sectorsPerCluster = 0;
    DWORD bytesPerSector = 0;
    DWORD freeClusters = 0;
    DWORD totalClusters = 0;
    // A failure leaves every figure at 0, which the caller reads as "not enough".
    ::GetDiskFreeSpaceW(drive->c_str(), &sectorsPerCluster, &bytesPerSector, &freeClusters, &totalClusters);
    const uint32_t bytesPerCluster = bytesPerSector * sectorsPerCluster;
    if (freeBytes != nullptr)
        *freeBytes = static_cast<uint64_t>(freeClusters) * bytesPerCluster;
    if (totalBytes != nullptr)
        *totalBytes = static_cast<uint64_t>(totalClusters) * bytesPerCluster;
}

namespace {

// `fullPath` itself or its nearest ancestor that exists as a folder.
std::wstring NearestExistingFolder(const std::wstring& fullPath)
{
    std::wstring candidate = CExtractionRootRules::WithTrailingBackslash(fullPath);
    while (!candidate.empty()) {
        if (FileSystemPath::IsDirectory(candidate))
            return candidate;
        candidate = CExtractionRootRules::ParentOf(candidate);
    }
    return std::wstring();
}

} // namespace

uint64_t CDriveSpaceAdmin::GetFreeSpaceOfPath(const std::wstring& path, std::wstring* volumeShown)
{
    std::wstring existing = NearestExistingFolder(FileSystemPath::FullPath(path));
    if (existing.empty())
        return 0;
    if (volumeShown != nullptr) {
        const std::wstring volume = FileSystemPath::VolumeOf(existing);
        *volumeShown = volume.empty() ? existing : volume;
    }
    ULARGE_INTEGER available{};
    if (!::GetDiskFreeSpaceExW(existing.c_str(), &available, nullptr, nullptr))
        return 0;
    return available.QuadPart;
}
