#pragma once

#include "framework/files/BasicString.h"

#include <cstddef>

// Splitting and joining paths by their text alone. Components are separated by
// backslashes or slashes; a leading drive ("C:") is a component of its own and, standing
// alone, always gets its backslash ("C:\").
namespace PortablePath {

using View = CPathString::View;

bool IsSeparator(wchar_t character);
bool IsBareDrive(View path);

// Trailing separators removed; a bare drive gains its backslash, a root stays "\".
CPathString RemoveTrailingSeparators(View path);

std::size_t GetComponentCount(View path);
// Empty when the path has fewer components.
CPathString GetComponent(View path, std::size_t nIndex);

// The path without its last nCount components, trailing separators removed.
CPathString GetParent(View path, std::size_t nCount = 1);

// The last component; empty when the path names a directory by its form (a trailing
// separator, a bare drive).
CPathString GetFileName(View path);
// The file name up to its last ".", and from there on.
CPathString GetFileTitle(View path);
CPathString GetExtension(View path);

// The directory and the name with exactly one backslash between them.
CPathString Join(View directory, View name);

} // namespace PortablePath
