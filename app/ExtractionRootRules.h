#pragma once

#include <string>

// Path rules for the extraction root that need no system call, kept portable so
// they are tested natively. Paths are Windows paths in UTF-16.
class CExtractionRootRules
{
public:
    // A root that holds a character Windows forbids in paths is no extraction root at
    // all. With `forCleanup` the root also goes into the clean-up command line, whose
    // interpreter expands "%NAME%" even inside quotes, so "%" is refused too.
    [[nodiscard]] static bool IsAcceptable(const std::wstring& root, bool forCleanup);

    // What _wsplitpath_s calls the drive: "C:" for a drive-letter path, else empty.
    static std::wstring DriveComponent(const std::wstring& path);

    // "C:\", "\\server\share\" and the like: folders a clean-up must never remove.
    [[nodiscard]] static bool IsVolumeRoot(const std::wstring& fullPath);

    // "\\server\share\" for a UNC path, "C:\" for a drive path, else empty.
    static std::wstring VolumeRootOf(const std::wstring& fullPath);

    // Whether the package folder (absolute, ending in a backslash) can be the current
    // directory the setup program starts in, and the setup program's path (the shell
    // adds ".exe" to a name without extension) one the system starts. Both stay
    // classic paths whatever the system allows elsewhere.
    [[nodiscard]] static bool FitsWorkingFolder(const std::wstring& fullPackageFolder, const std::wstring& setupName);

    static std::wstring WithTrailingBackslash(std::wstring path);
    static std::wstring ParentOf(const std::wstring& fullPath);
};
