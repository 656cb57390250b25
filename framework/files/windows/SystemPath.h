#pragma once

#include "framework/files/BasicString.h"

// Path helpers that ask the system.
namespace SystemPath {

// The absolute form; the path as given when the system cannot say.
CPathString GetAbsolutePath(CPathString::View path);
// The 8.3 form; empty when the system has none.
CPathString GetShortPath(CPathString::View path);
// The path itself when it names a directory, else its parent.
CPathString GetDirectory(CPathString::View path);
CPathString GetWorkingDirectory();
[[nodiscard]] bool ChangeWorkingDirectory(CPathString::View path);

} // namespace SystemPath
