#pragma once

#include "framework/files/BasicString.h"

// Well-known folders.
namespace SpecialFolders {

enum ESpecialFolder { kTemporary = 0, kDocuments = 1, kRoot = 2 };

// The temporary folder with its trailing backslash; "C:\" when the system has none.
CPathString GetTempFolder();
// The same for any length of path; false when the system gives none.
[[nodiscard]] bool GetTempFolder(CPathString& folder);
[[nodiscard]] bool GetSpecialFolder(int nKind, CPathString& folder);

} // namespace SpecialFolders
