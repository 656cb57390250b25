#include "framework/files/LongPath.h"

#include "payload/LongPathForm.h"
#include "win32/Handle.h"

#include <windows.h>

namespace LongPath {

namespace {

bool IsFolder(const std::wstring& systemPath)
{
    const DWORD attributes = ::GetFileAttributesW(systemPath.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool CreateChain(std::wstring folder, size_t volumeLength)
{
    while (folder.size() > volumeLength && folder.back() == L'\\')
        folder.pop_back();
    if (folder.size() <= volumeLength)
        return IsFolder(folder);
    if (::CreateDirectoryW(folder.c_str(), nullptr))
        return true;
    const DWORD error = ::GetLastError();
    if (error == ERROR_ALREADY_EXISTS)
        return IsFolder(folder);
    if (error != ERROR_PATH_NOT_FOUND)
        return false;
    const size_t slash = folder.find_last_of(L'\\');
    if (slash == std::wstring::npos || slash + 1 < volumeLength || !CreateChain(folder.substr(0, slash), volumeLength))
        return false;
    return ::CreateDirectoryW(folder.c_str(), nullptr) || (::GetLastError() == ERROR_ALREADY_EXISTS && IsFolder(folder));
}

bool IsGone(DWORD error)
{
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

// `path` is in the device form, so the names below it may be as deep as they are.
bool RemoveDevicePath(const std::wstring& path)
{
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return IsGone(::GetLastError());
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
        return ::DeleteFileW(path.c_str()) || IsGone(::GetLastError());
    bool allGone = true;
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
        WIN32_FIND_DATAW data{};
        const CFindHandle find(::FindFirstFileW((path + L"\\*").c_str(), &data));
        if (find) {
            do {
                const std::wstring name = data.cFileName;
                if (name != L"." && name != L"..")
                    allGone = RemoveDevicePath(path + L'\\' + name) && allGone;
            } while (::FindNextFileW(find.Get(), &data));
        }
    }
    return (::RemoveDirectoryW(path.c_str()) || IsGone(::GetLastError())) && allGone;
}

} // namespace

std::wstring CurrentDirectory()
{
    std::wstring current(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetCurrentDirectoryW(static_cast<DWORD>(current.size()), current.data());
        if (length == 0)
            return std::wstring();
        if (length < current.size()) {
            current.resize(length);
            return current;
        }
        current.resize(length + 1);
    }
}

std::wstring ForSystem(const std::wstring& path)
{
    return CLongPathForm::Make(path, CurrentDirectory());
}

bool CreateFolders(const std::wstring& folder)
{
    const std::wstring target = ForSystem(folder);
    if (target.empty())
        return false;
    return CreateChain(target, CLongPathForm::VolumeLength(target));
}

bool RemoveTree(const std::wstring& path)
{
    std::wstring target = CLongPathForm::ToDeviceForm(ForSystem(path));
    if (target.empty())
        return false;
    const size_t volumeLength = CLongPathForm::VolumeLength(target);
    while (target.size() > volumeLength && target.back() == L'\\')
        target.pop_back();
    // A whole volume is never what a caller means.
    if (target.size() <= volumeLength)
        return false;
    return RemoveDevicePath(target);
}

} // namespace LongPath
