#include "LongPath.h"

#include "payload/LongPathForm.h"
#include "win32/Handle.h"

#include <windows.h>

namespace LongPath {

namespace {

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
