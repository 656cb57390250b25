#include "ExtractionRootRules.h"

namespace {

bool IsSeparator(wchar_t c)
{
    return c == L'\\' || c == L'/';
}

bool IsDriveLetter(wchar_t c)
{
    return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z');
}

bool HasDrive(const std::wstring& path)
{
    return path.size() >= 2 && IsDriveLetter(path[0]) && path[1] == L':';
}

bool IsUnc(const std::wstring& path)
{
    return path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1]);
}

// Length of "\\server\share\" (or of "\\server\share" without its final separator).
size_t UncRootLength(const std::wstring& path)
{
    size_t pos = 2;
    for (int component = 0; component < 2; ++component) {
        while (pos < path.size() && !IsSeparator(path[pos]))
            ++pos;
        if (component == 0 && pos < path.size())
            ++pos;
    }
    return pos;
}

} // namespace

bool CExtractionRootRules::IsAcceptable(const std::wstring& root, bool forCleanup)
{
    if (root.empty())
        return false;
    for (size_t i = 0; i < root.size(); ++i) {
        const wchar_t c = root[i];
        if (c < 0x20)
            return false;
        switch (c) {
        case L'"': case L'<': case L'>': case L'|': case L'*': case L'?':
            return false;
        case L'%':
            if (forCleanup)
                return false;
            break;
        case L':':
            if (i != 1 || !IsDriveLetter(root[0]))
                return false;
            break;
        default:
            break;
        }
    }
    return true;
}

std::wstring CExtractionRootRules::DriveComponent(const std::wstring& path)
{
    return HasDrive(path) ? path.substr(0, 2) : std::wstring();
}

std::wstring CExtractionRootRules::VolumeRootOf(const std::wstring& fullPath)
{
    if (HasDrive(fullPath))
        return fullPath.substr(0, 2) + L"\\";
    if (IsUnc(fullPath)) {
        const size_t length = UncRootLength(fullPath);
        return WithTrailingBackslash(fullPath.substr(0, length));
    }
    return std::wstring();
}

bool CExtractionRootRules::IsVolumeRoot(const std::wstring& fullPath)
{
    const std::wstring volume = VolumeRootOf(fullPath);
    if (volume.empty())
        return false;
    std::wstring path = WithTrailingBackslash(fullPath);
    if (path.size() != volume.size())
        return false;
    for (size_t i = 0; i < path.size(); ++i) {
        const wchar_t a = IsSeparator(path[i]) ? L'\\' : path[i];
        const wchar_t b = IsSeparator(volume[i]) ? L'\\' : volume[i];
        if (a != b)
            return false;
    }
    return true;
}

bool CExtractionRootRules::FitsWorkingFolder(const std::wstring& fullPackageFolder, const std::wstring& setupName)
{
    // MAX_PATH, the terminating NUL included.
    constexpr size_t kMaxUnits = 259;
    if (WithTrailingBackslash(fullPackageFolder).size() > kMaxUnits)
        return false;
    if (setupName.empty())
        return true;
    const bool hasExtension = setupName.find(L'.') != std::wstring::npos;
    return WithTrailingBackslash(fullPackageFolder).size() + setupName.size() + (hasExtension ? 0 : 4) <= kMaxUnits;
}

std::wstring CExtractionRootRules::WithTrailingBackslash(std::wstring path)
{
    if (path.empty() || path.back() != L'\\')
        path += L'\\';
    return path;
}

std::wstring CExtractionRootRules::ParentOf(const std::wstring& fullPath)
{
    if (IsVolumeRoot(fullPath))
        return std::wstring();
    std::wstring path = fullPath;
    while (!path.empty() && IsSeparator(path.back()))
        path.pop_back();
    const size_t slash = path.find_last_of(L"\\/");
    if (slash == std::wstring::npos)
        return std::wstring();
    return WithTrailingBackslash(path.substr(0, slash));
}
