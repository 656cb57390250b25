#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "payload/ContainerLayout.h"

// Where the content of an uncompressed cabinet lies. Such a cabinet stores each
// folder's content in data blocks of 32768 bytes, each behind an 8-byte block
// header, which is exactly the container's blocked layout; the content can then be
// shared with loose copies of the same files.
class CCabinetLayout
{
public:
    static constexpr uint32_t kBlockSize = 32768;
    static constexpr uint32_t kBlockHeaderSize = 8;
    static_assert(kBlockSize == ContainerLayout::kBlockSize && kBlockHeaderSize == ContainerLayout::kBlockGap);

    struct SMember
    {
        uint32_t nStart = 0;   // offset within its folder's content
        uint32_t nLength = 0;
    };

    struct SFolder
    {
        uint32_t nFirstBlock = 0;  // file offset of the first block header
        uint32_t nContentLength = 0;
        std::vector<SMember> members;
    };

    // Reads length bytes at a file offset; false when they cannot be read.
    using FReader = std::function<bool(uint64_t offset, void* buffer, size_t length)>;

    // The layout when the file is an uncompressed cabinet of the blocked shape (no
    // per-block reserve, full blocks except each folder's last); nothing otherwise.
    static std::optional<CCabinetLayout> Parse(uint64_t fileSize, const FReader& read);

    const std::vector<SFolder>& Folders() const { return m_folders; }

    // File offset of a content byte of a folder.
    static uint64_t FileOffsetOf(const SFolder& folder, uint32_t contentOffset);

private:
    std::vector<SFolder> m_folders;
};
