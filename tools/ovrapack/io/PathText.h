#pragma once

#include <cstdio>
#include <filesystem>
#include <string>

// The one way between the tool's texts (UTF-8: arguments, messages) and paths, the
// same on every system. A narrow std::filesystem::path would take its text in the
// ANSI code page on Windows and lose every letter outside it.
namespace PathText {
// A path argument or option value as the user typed it.
std::filesystem::path FromArgument(const std::string& utf8);
// A path as messages show it.
std::string Display(const std::filesystem::path& path);
// std::fopen by path, with the path's wide form on Windows.
std::FILE* Open(const std::filesystem::path& path, const char* mode);
} // namespace PathText
