#include "SystemPath.h"

#include "framework/files/PortablePath.h"

#include <windows.h>

#include <direct.h>
#include <vector>

namespace SystemPath {

namespace {

constexpr DWORD kFullPathRoom = 1040;
constexpr DWORD kShortPathFirstRoom = 40;
constexpr int kWorkingDirectoryStep = 256;

} // namespace

CPathString GetAbsolutePath(CPathString::View path)
{
    const CPathString given(path);
    std::vector<wchar_t> buffer(kFullPathRoom);
    const DWORD dwLength = ::GetFullPathNameW(given.c_str(), kFullPathRoom, buffer.data(), nullptr);
    if (dwLength == 0 || dwLength >= kFullPathRoom)
        return given;
    return CPathString(CPathString::View(buffer.data(), dwLength));
}

CPathString GetShortPath(CPathString::View path)
{
    const CPathString given(path);
    DWORD dwRoom = kShortPathFirstRoom;
    for (;;) {
        std::vector<wchar_t> buffer(dwRoom);
        const DWORD dwLength = ::GetShortPathNameW(given.c_str(), buffer.data(), dwRoom);
        if (dwLength == 0)
            return CPathString();
        if (dwLength < dwRoom)
            return CPathString(CPathString::View(buffer.data(), dwLength));
        dwRoom *= 2;
    }
}

CPathString GetDirectory(CPathString::View path)
{
    const CPathString given(path);
    const DWORD dwAttributes = ::GetFileAttributesW(given.c_str());
    if (dwAttributes != INVALID_FILE_ATTRIBUTES && (dwAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return given;
    return PortablePath::GetParent(path);
}

CPathString GetWorkingDirectory()
{
    for (int nRoom = kWorkingDirectoryStep;; nRoom += kWorkingDirectoryStep) {
        std::vector<wchar_t> buffer(static_cast<std::size_t>(nRoom));
        if (::_wgetcwd(buffer.data(), nRoom) != nullptr)
            return CPathString(buffer.data());
        if (errno != ERANGE)
            return CPathString();
    }
}

bool ChangeWorkingDirectory(CPathString::View path)
{
    return ::_wchdir(CPathString(path).c_str()) == 0;
}

} // namespace SystemPath
