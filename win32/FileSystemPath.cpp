#include "FileSystemPath.h"

#include "Handle.h"

namespace FileSystemPath {

std::wstring FullPath(const std::wstring& path)
{
    DWORD size = MAX_PATH;
    for (;;) {
        std::wstring full(size, L'\0');
        const DWORD length = ::GetFullPathNameW(path.c_str(), size, full.data(), nullptr);
        if (length == 0)
            return std::wstring();
        if (length < size) {
            full.resize(length);
            return full;
        }
        size = length + 1;
    }
}

bool IsDirectory(const std::wstring& path)
{
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool Exists(const std::wstring& path)
{
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool HasEntries(const std::wstring& folder)
{
    WIN32_FIND_DATAW data;
    std::wstring pattern = folder;
    if (pattern.empty() || pattern.back() != L'\\')
        pattern += L'\\';
    pattern += L'*';
    const CFindHandle find(::FindFirstFileW(pattern.c_str(), &data));
    if (!find)
        return false;
    do {
        const std::wstring name = data.cFileName;
        if (name != L"." && name != L"..")
            return true;
    } while (::FindNextFileW(find.Get(), &data));
    return false;
}

std::wstring VolumeOf(const std::wstring& path)
{
    wchar_t volume[MAX_PATH + 1] = {};
    if (!::GetVolumePathNameW(path.c_str(), volume, MAX_PATH))
        return std::wstring();
    return volume;
}

std::wstring ModulePath(HMODULE module)
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return std::wstring();
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

} // namespace FileSystemPath
