#include "TempFile.h"

#include "framework/files/FileErrorSink.h"
#include "PortableFile.h"
#include "framework/files/PortableWinPTmpPFile.h"
#include "framework/files/TmpUnBufWinPFile.h"
#include "Win32FileSystem.h"

#include <windows.h>

#include <cstdio>
#include <io.h>
#include <vector>

namespace {

constexpr int kAttempts = 10000;
constexpr int kErrorNotEnoughMemory = 8;

// "<directory>OvraMPEG<counter right-aligned in four>XXX" followed by six characters the
// runtime picks for a name not in use.
bool CandidateName(const CPathString& directory, int nCounter, CPathString& name)
{
    std::vector<wchar_t> buffer(directory.GetLength() + 32);
    std::swprintf(buffer.data(), buffer.size(), L"%lsOvraMPEG%4dXXXXXXXXX", directory.c_str(), nCounter);
    std::size_t nLength = 0;
    while (buffer[nLength] != L'\0')
        ++nLength;
    if (::_wmktemp_s(buffer.data(), nLength + 1) != 0)
        return false;
    name = CPathString(CPathString::View(buffer.data(), nLength));
    return true;
}

// Claims the name: only one caller can create a file that did not exist.
int Claim(const CPathString& name)
{
    IFileSystem& fileSystem = CWin32FileSystem::Instance();
    CPortableWinPFile claim(name.GetView(), FileMode::kWrite, nullptr, fileSystem);
    const int nError = claim.CreateExclusive();
    if (nError != 0)
        return nError;
    return claim.Close();
}

} // namespace

std::unique_ptr<PFile> CreateTempFile(CPathString::View directory, std::uint32_t nFlags)
{
    CPathString folder(directory);
    if (!folder.IsEmpty() && folder[folder.GetLength() - 1] != L'\\')
        folder += L'\\';
    IFileSystem& fileSystem = CWin32FileSystem::Instance();
    for (int i = 0; i < kAttempts; ++i) {
        CPathString name;
        if (!CandidateName(folder, i, name))
            continue;
        const int nClaim = Claim(name);
        if (nClaim == kErrorNotEnoughMemory)
            return nullptr;
        if (nClaim != 0)
            continue;
        std::unique_ptr<CPortableBaseWinPFile> pFile;
        if ((nFlags & CPortableFile::kUnbuffered) != 0)
            pFile = std::make_unique<CTmpUnBufWinPFile>(name.GetView(), FileMode::kWrite, CPortableUnBufWinPFile::kCachedMode,
                                                        GetProcessFileErrorSink(), fileSystem);
        else
            pFile = std::make_unique<CPortableWinPTmpPFile>(name.GetView(), FileMode::kWrite, GetProcessFileErrorSink(),
                                                            fileSystem);
        // Held open from here on, so the name stays this object's.
        const int nError = pFile->Open(FileMode::kWrite);
        if (nError == 0)
            return pFile;
        if (nError == kErrorNotEnoughMemory)
            return nullptr;
    }
    return nullptr;
}
