#pragma once

#include "framework/files/BasicString.h"

#include <cstdint>
#include <memory>

class CWindowsDirEntry;

// Enumerations by path, and what is built on them.
namespace DirectorySearch {

// The entries of the path's directory (the working directory when the path has only one
// component) that match its last component.
std::unique_ptr<CWindowsDirEntry> FindMatching(CPathString::View path, std::intptr_t nValue, std::uint32_t nRequired,
                                               std::uint32_t nExcluded, std::uint32_t nOptions);
std::unique_ptr<CWindowsDirEntry> FindFiles(CPathString::View path, std::intptr_t nValue, std::uint32_t nOptions);
std::unique_ptr<CWindowsDirEntry> FindDirectories(CPathString::View path, std::intptr_t nValue, std::uint32_t nOptions);

// The bytes of the files matching the pattern in the directory and, through every
// subdirectory, below it. Links to directories elsewhere are not followed.
std::uint64_t GetFolderSize(CPathString::View directory, CPathString::View pattern, std::intptr_t nValue,
                            std::uint32_t nRequired, std::uint32_t nExcluded, std::uint32_t nOptions);

// Deletes a file, or a directory with everything in it. A link to a directory (junction
// or symbolic link) is removed itself; what it points to is left alone. Every entry that
// can go goes; false when anything stays.
[[nodiscard]] bool DeleteTree(CPathString::View path);

} // namespace DirectorySearch
