#pragma once

#include <cstdint>
#include <string>

// Where a catalogue key lives: a path below a root, the root selector (1 local
// machine, 2 the current user's hive, 3 the classes root) and the access mask used to
// open or create it.
struct SCatalogKeyLocation {
    static constexpr std::uint32_t kDefaultAccess = 0xE003D;
    static constexpr int kLocalMachine = 1;
    static constexpr int kCurrentUser = 2;
    static constexpr int kClassesRoot = 3;

    std::wstring path;
    std::uint32_t accessMask = kDefaultAccess;
    int rootSelector = 0;
};

// A key path and a sub-path joined with exactly one backslash between them where both
// have one at the seam; an empty path gives the sub-path.
std::wstring JoinKeyPath(const std::wstring& path, const std::wstring& subPath);
