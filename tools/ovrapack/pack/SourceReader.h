#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

// A stretch of one source file's content: either a plain run of bytes, or the
// content of a cabinet folder, whose 32768-byte blocks each follow an 8-byte gap.
struct SSourceStream
{
    uint32_t nFile = 0;
    bool bBlocked = false;
    uint32_t nBase = 0;    // plain: file offset of the first byte; blocked: offset of the first gap
    uint32_t nLength = 0;  // content bytes
};

// Random reads from the source files, keeping the two most recently used open so
// that comparing two stretches does not reopen files for every buffer.
class CSourceReader
{
public:
    explicit CSourceReader(std::vector<std::filesystem::path> paths) : m_paths(std::move(paths)) {}

    [[nodiscard]] bool ReadFile(uint32_t file, uint64_t offset, void* buffer, size_t length, std::string& error);
    [[nodiscard]] bool ReadStream(const SSourceStream& stream, uint64_t offset, void* buffer, size_t length,
                                  std::string& error);
    // Compares two stretches of content byte by byte.
    [[nodiscard]] bool Equal(const SSourceStream& a, uint64_t offsetA, const SSourceStream& b, uint64_t offsetB,
                             uint64_t length, bool& equal, std::string& error);

    const std::filesystem::path& Path(uint32_t file) const { return m_paths[file]; }

private:
    struct SSlot
    {
        uint32_t nFile = UINT32_MAX;
        std::ifstream stream;
        uint64_t nUse = 0;
    };

    std::ifstream* Open(uint32_t file, std::string& error);

    std::vector<std::filesystem::path> m_paths;
    SSlot m_slots[2];
    uint64_t m_nUses = 0;
};
