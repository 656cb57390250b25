#include <windows.h>

#include "VolumeInfo.h"

#include <limits>

namespace VolumeInfo {

namespace {

constexpr std::uint64_t kLargest63 = std::numeric_limits<std::int64_t>::max();
constexpr std::uint64_t kLargest32 = std::numeric_limits<std::uint32_t>::max();
constexpr std::uint64_t kLargest31 = std::numeric_limits<std::int32_t>::max();

bool FileSystemNameOf(const wchar_t* pszRoot, CPathString& name)
{
    wchar_t fileSystem[MAX_PATH + 1] = {};
    if (!::GetVolumeInformationW(pszRoot, nullptr, 0, nullptr, nullptr, nullptr, fileSystem, MAX_PATH + 1))
        return false;
    name = CPathString(fileSystem);
    return true;
}

bool IsDriveLetter(wchar_t character)
{
    return (character >= L'A' && character <= L'Z') || (character >= L'a' && character <= L'z');
}

bool IsRooted(CPathString::View path)
{
    return (!path.empty() && path[0] == L'\\') || (path.size() >= 2 && IsDriveLetter(path[0]) && path[1] == L':');
}

} // namespace

std::uint64_t MaxFileSizeOf(CPathString::View fileSystemName)
{
    const CPathString name(fileSystemName);
    if (::lstrcmpiW(name.c_str(), L"NTFS") == 0 || ::lstrcmpiW(name.c_str(), L"exFAT") == 0 ||
        ::lstrcmpiW(name.c_str(), L"UDF") == 0)
        return kLargest63;
    if (::lstrcmpiW(name.c_str(), L"FAT32") == 0)
        return kLargest32;
    return kLargest31;
}

bool GetMaxFileSize(CPathString::View path, std::uint64_t& nMaxSize)
{
    nMaxSize = kLargest31;
    CPathString candidate(path);
    if (candidate.IsEmpty() || candidate[candidate.GetLength() - 1] != L'\\')
        candidate += L'\\';
    CPathString name;
    while (!FileSystemNameOf(candidate.c_str(), name)) {
        const CPathString::View rest = candidate.GetView().substr(0, candidate.GetLength() - 1);
        const std::size_t nBackslash = rest.find_last_of(L'\\');
        if (nBackslash == CPathString::View::npos) {
            if (IsRooted(path) || !FileSystemNameOf(nullptr, name))
                return false;
            break;
        }
        candidate.Truncate(nBackslash + 1);
    }
    nMaxSize = MaxFileSizeOf(name.GetView());
    return true;
}

std::uint64_t GetFreeSpace(CPathString::View directory)
{
    ULARGE_INTEGER available{};
    if (!::GetDiskFreeSpaceExW(CPathString(directory).c_str(), &available, nullptr, nullptr))
        return 0;
    return available.QuadPart;
}

unsigned GetPathDriveType(CPathString::View path)
{
    CPathString root(path.substr(0, 2));
    root += L'\\';
    return ::GetDriveTypeW(root.c_str());
}

} // namespace VolumeInfo
