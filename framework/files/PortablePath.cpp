#include "framework/files/PortablePath.h"

namespace PortablePath {

namespace {

bool IsAsciiLetter(wchar_t character)
{
    return (character >= L'A' && character <= L'Z') || (character >= L'a' && character <= L'z');
}

std::size_t DriveLength(View path)
{
    return path.size() >= 2 && IsAsciiLetter(path[0]) && path[1] == L':' ? 2 : 0;
}

std::size_t EndWithoutTrailingSeparators(View path, std::size_t nEnd, std::size_t nFloor)
{
    while (nEnd > nFloor && IsSeparator(path[nEnd - 1]))
        --nEnd;
    return nEnd;
}

// Where the last component starts, never inside the drive.
std::size_t LastComponentStart(View path)
{
    const std::size_t nDrive = DriveLength(path);
    const std::size_t nSeparator = path.find_last_of(L"\\/");
    if (nSeparator == View::npos || nSeparator < nDrive)
        return nDrive;
    return nSeparator + 1;
}

CPathString WithDriveRoot(View path)
{
    CPathString result(path);
    if (IsBareDrive(path))
        result += L'\\';
    return result;
}

} // namespace

bool IsSeparator(wchar_t character)
{
    return character == L'\\' || character == L'/';
}

bool IsBareDrive(View path)
{
    return path.size() == 2 && DriveLength(path) == 2;
}

CPathString RemoveTrailingSeparators(View path)
{
    const std::size_t nEnd = EndWithoutTrailingSeparators(path, path.size(), 0);
    if (nEnd == 0 && !path.empty())
        return CPathString(L"\\");
    return WithDriveRoot(path.substr(0, nEnd));
}

std::size_t GetComponentCount(View path)
{
    std::size_t nCount = DriveLength(path) > 0 ? 1 : 0;
    bool bInComponent = false;
    for (std::size_t i = DriveLength(path); i < path.size(); ++i) {
        const bool bSeparator = IsSeparator(path[i]);
        if (!bSeparator && !bInComponent)
            ++nCount;
        bInComponent = !bSeparator;
    }
    return nCount;
}

CPathString GetComponent(View path, std::size_t nIndex)
{
    const std::size_t nDrive = DriveLength(path);
    if (nDrive > 0) {
        if (nIndex == 0)
            return WithDriveRoot(path.substr(0, nDrive));
        --nIndex;
    }
    std::size_t nPosition = nDrive;
    while (nPosition < path.size()) {
        const std::size_t nStart = path.find_first_not_of(L"\\/", nPosition);
        if (nStart == View::npos)
            break;
        std::size_t nEnd = path.find_first_of(L"\\/", nStart);
        if (nEnd == View::npos)
            nEnd = path.size();
        if (nIndex == 0)
            return CPathString(path.substr(nStart, nEnd - nStart));
        --nIndex;
        nPosition = nEnd;
    }
    return CPathString();
}

CPathString GetParent(View path, std::size_t nCount)
{
    const std::size_t nDrive = DriveLength(path);
    std::size_t nEnd = path.size();
    for (std::size_t i = 0; i < nCount; ++i) {
        nEnd = EndWithoutTrailingSeparators(path, nEnd, nDrive);
        if (nEnd <= nDrive)
            return CPathString();
        const View rest = path.substr(0, nEnd);
        const std::size_t nSeparator = rest.find_last_of(L"\\/");
        if (nSeparator == View::npos || nSeparator < nDrive) {
            nEnd = nDrive;
            continue;
        }
        nEnd = EndWithoutTrailingSeparators(path, nSeparator, nDrive);
        // The root separator stays: the parent of "\dir" is "\", not the current folder.
        if (nEnd == nDrive)
            nEnd = nDrive + 1;
    }
    if (nCount == 0)
        return RemoveTrailingSeparators(path);
    return WithDriveRoot(path.substr(0, nEnd));
}

CPathString GetFileName(View path)
{
    if (path.empty() || IsSeparator(path.back()))
        return CPathString();
    return CPathString(path.substr(LastComponentStart(path)));
}

CPathString GetFileTitle(View path)
{
    const CPathString name = GetFileName(path);
    const std::size_t nDot = name.GetView().find_last_of(L'.');
    return nDot == View::npos ? name : CPathString(name.GetView().substr(0, nDot));
}

CPathString GetExtension(View path)
{
    const CPathString name = GetFileName(path);
    const std::size_t nDot = name.GetView().find_last_of(L'.');
    return nDot == View::npos ? CPathString() : CPathString(name.GetView().substr(nDot));
}

CPathString Join(View directory, View name)
{
    if (directory.empty())
        return CPathString(name);
    CPathString result(directory.substr(0, EndWithoutTrailingSeparators(directory, directory.size(), 0)));
    result += L'\\';
    const std::size_t nNameStart = name.find_first_not_of(L"\\/");
    if (nNameStart != View::npos)
        result += name.substr(nNameStart);
    return result;
}

} // namespace PortablePath
