#pragma once

#include <string>

// Where the file library and the installer hand a path to the system: its form of any
// length (payload/LongPathForm.h), resolved against this process's current directory.
namespace LongPath {

// The current directory; empty when the system gives none.
std::wstring CurrentDirectory();

// `path` as the system takes it at any length; empty when it names nothing.
std::wstring ForSystem(const std::wstring& path);

// Removes a file, or a folder with everything in it, at any depth. A link to a folder
// goes as a link; what it points to is left alone. True when nothing is left.
[[nodiscard]] bool RemoveTree(const std::wstring& path);

} // namespace LongPath
