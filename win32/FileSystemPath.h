#pragma once

#include <windows.h>

#include <string>

// Path queries that ask the system: resolution, existence, volumes.
namespace FileSystemPath {
// The absolute form of `path` against the current directory; empty on failure.
std::wstring FullPath(const std::wstring& path);
bool IsDirectory(const std::wstring& path);
bool Exists(const std::wstring& path);
// True when the folder holds at least one entry besides "." and "..".
bool HasEntries(const std::wstring& folder);
// The mount point of the volume holding `path` ("C:\", "\\server\share\"); empty on failure.
std::wstring VolumeOf(const std::wstring& path);
// This module's file path.
std::wstring ModulePath(HMODULE module);
} // namespace FileSystemPath
