#include "SpecialFolders.h"

#include "win32/ShellItemIdList.h"

#include <windows.h>

#include <shlobj.h>
#include <vector>

namespace SpecialFolders {

namespace {

constexpr DWORD kTempPathRoom = 1039;
constexpr DWORD kTempPathFirstRoom = 1040;

CPathString WithBackslash(CPathString folder)
{
    if (folder.IsEmpty() || folder[folder.GetLength() - 1] != L'\\')
        folder += L'\\';
    return folder;
}

} // namespace

CPathString GetTempFolder()
{
    std::vector<wchar_t> buffer(kTempPathRoom + 1);
    const DWORD dwLength = ::GetTempPathW(kTempPathRoom, buffer.data());
    if (dwLength == 0 || dwLength > kTempPathRoom)
        return CPathString(L"C:\\");
    return WithBackslash(CPathString(CPathString::View(buffer.data(), dwLength)));
}

bool GetTempFolder(CPathString& folder)
{
    for (DWORD dwRoom = kTempPathFirstRoom;; dwRoom *= 2) {
        std::vector<wchar_t> buffer(dwRoom);
        const DWORD dwLength = ::GetTempPathW(dwRoom, buffer.data());
        if (dwLength == 0)
            return false;
        if (dwLength < dwRoom) {
            folder = WithBackslash(CPathString(CPathString::View(buffer.data(), dwLength)));
            return true;
        }
    }
}

bool GetSpecialFolder(int nKind, CPathString& folder)
{
    switch (nKind) {
    case kTemporary:
        return GetTempFolder(folder);
    case kRoot:
        folder = CPathString(L"\\");
        return true;
    case kDocuments: {
        CShellItemIdList list;
        if (FAILED(::SHGetSpecialFolderLocation(nullptr, CSIDL_PERSONAL, list.Receive())))
            return false;
        wchar_t path[MAX_PATH] = {};
        if (!::SHGetPathFromIDListW(list.Get(), path))
            return false;
        folder = CPathString(path);
        return true;
    }
    default:
        return false;
    }
}

} // namespace SpecialFolders
