#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// Test-only: a fresh, empty folder under the system temporary folder, removed again
// with everything in it.
class CScratchFolder
{
public:
    explicit CScratchFolder(const std::string& tag);
    ~CScratchFolder();
    CScratchFolder(const CScratchFolder&) = delete;
    CScratchFolder& operator=(const CScratchFolder&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    std::filesystem::path operator/(const std::string& relative) const { return m_path / relative; }

    // Every regular file below the folder, relative, with '/' separators, sorted.
    std::vector<std::string> ListFiles() const;

private:
    std::filesystem::path m_path;
};

std::vector<uint8_t> ReadWholeFile(const std::filesystem::path& path);
void WriteWholeFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes);

// A stand-in for a packaged installer: prefix bytes, the stream, then trailing
// bytes (padding and signature stand-ins). Returns the stream's offset.
uint32_t WritePackageFile(const std::filesystem::path& path, const std::vector<uint8_t>& stream,
                          size_t prefixSize = 1000, size_t trailingSize = 13);
