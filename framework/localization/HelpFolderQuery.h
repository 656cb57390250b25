#pragma once

#include <string>
#include <vector>

// What the help-file search asks of the file system. Windows programs answer through
// Win32, the tools and the native tests through the standard library: the standard
// library's file system support would bring its locale machinery into the stub.
namespace HelpFolderQuery {

bool Exists(const std::wstring& path);

// The names (not paths) of the folder's entries, in the file system's order.
std::vector<std::wstring> EntryNames(const std::wstring& folder);

} // namespace HelpFolderQuery
