#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// The files under a source folder, in the order they take in the container: every
// regular file at any depth, named by its relative path with backslashes in code
// page 1252, sorted by that name so the same tree always gives the same package.
class CSourceTree
{
public:
    static constexpr size_t kMaximumFiles = 32768;      // destinations carry 15-bit file indices
    static constexpr uint64_t kMaximumFileSize = 0xFFFFFFFFull;
    static constexpr size_t kMaximumNameLength = 4095;  // the stub joins names in a 4096-byte buffer

    struct SEntry
    {
        std::string strName;  // code page 1252, backslash-separated
        std::filesystem::path path;
        uint64_t nSize = 0;
    };

    // Fails with a message naming the offending file or folder; warnings (names the
    // stub widens with the installing machine's code page, folders the container
    // cannot carry) are collected and the scan goes on.
    [[nodiscard]] bool Scan(const std::filesystem::path& root, std::string& error);

    const std::vector<SEntry>& Entries() const { return m_entries; }
    const std::vector<std::string>& Warnings() const { return m_warnings; }
    // The root and every folder below it that the scan entered.
    const std::vector<std::filesystem::path>& Folders() const { return m_folders; }
    uint64_t TotalSize() const;

    // Why a 1252 name cannot become a file on Windows; empty when it can.
    static std::string NameProblem(const std::string& name);

private:
    [[nodiscard]] bool AddFile(const std::filesystem::path& root, const std::filesystem::path& path, uint64_t size,
                               std::string& error);
    [[nodiscard]] bool CheckCaseCollisions(std::string& error) const;
#ifdef _WIN32
    [[nodiscard]] bool ScanWindowsFolder(const std::filesystem::path& root, const std::filesystem::path& folder,
                                         std::string& error);
#endif

    std::vector<SEntry> m_entries;
    std::vector<std::string> m_warnings;
    std::vector<std::filesystem::path> m_folders;
};
