#pragma once

#include "framework/files/BasicString.h"

#include <cstdint>

// windows.h keeps a 16-bit leftover of this name as a macro that would swallow the call.
#ifdef GetFreeSpace
#undef GetFreeSpace
#endif

// What the library asks about the volume a path lies on.
namespace VolumeInfo {

// The largest file the volume's file system can hold. The path need not exist yet: its
// parents are asked in turn. False when no volume answers; the size is then 2^31 - 1.
[[nodiscard]] bool GetMaxFileSize(CPathString::View path, std::uint64_t& nMaxSize);
// The largest file of a file system, by its name.
std::uint64_t MaxFileSizeOf(CPathString::View fileSystemName);
// Bytes the caller may still use; 0 on failure.
std::uint64_t GetFreeSpace(CPathString::View directory);
// The system's drive type of the path's drive.
unsigned GetPathDriveType(CPathString::View path);

} // namespace VolumeInfo
