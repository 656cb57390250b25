#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// Whole-file reads and all-or-nothing writes: an output is written to a temporary
// name beside it and renamed only when complete, so a failure never leaves a file
// that looks good.
namespace FileBytes {
bool Read(const std::filesystem::path& path, std::vector<uint8_t>& bytes, std::string& error);
bool WriteAtomically(const std::filesystem::path& path, const std::vector<uint8_t>& bytes, std::string& error);
} // namespace FileBytes
