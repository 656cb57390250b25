#include "CabinetLayout.h"

#include <algorithm>
#include <string>

#include "payload/ContainerLayout.h"

using LittleEndian::ReadU16;
using LittleEndian::ReadU32;

namespace {

constexpr uint16_t kFlagPreviousCabinet = 0x0001;
constexpr uint16_t kFlagNextCabinet = 0x0002;
constexpr uint16_t kFlagReservePresent = 0x0004;
constexpr uint16_t kCompressionMask = 0x000F;
constexpr size_t kHeaderSize = 36;
constexpr size_t kFolderEntrySize = 8;
constexpr size_t kFileEntrySize = 16;
constexpr size_t kMaximumNameLength = 256;
// Files continued from or into neighbouring cabinets have no place of their own.
constexpr uint16_t kFirstSpecialFolderIndex = 0xFFFD;

// Skips a NUL-terminated string of at most 256 characters.
bool SkipString(const CCabinetLayout::FReader& read, uint64_t fileSize, uint64_t& offset)
{
    uint8_t buffer[kMaximumNameLength + 1];
    const size_t length = static_cast<size_t>(std::min<uint64_t>(sizeof(buffer), fileSize - std::min(fileSize, offset)));
    if (length == 0 || !read(offset, buffer, length))
        return false;
    const auto* end = std::find(buffer, buffer + length, 0);
    if (end == buffer + length)
        return false;
    offset += static_cast<uint64_t>(end - buffer) + 1;
    return true;
}

} // namespace

uint64_t CCabinetLayout::FileOffsetOf(const SFolder& folder, uint32_t contentOffset)
{
    const uint64_t block = contentOffset / kBlockSize;
    return folder.nFirstBlock + block * (kBlockSize + kBlockHeaderSize) + kBlockHeaderSize + contentOffset % kBlockSize;
}

std::optional<CCabinetLayout> CCabinetLayout::Parse(uint64_t fileSize, const FReader& read)
{
    uint8_t header[kHeaderSize + 4];
    if (fileSize < kHeaderSize || fileSize > UINT32_MAX || !read(0, header, kHeaderSize))
        return std::nullopt;
    if (header[0] != 'M' || header[1] != 'S' || header[2] != 'C' || header[3] != 'F' || ReadU32(header + 8) != fileSize)
        return std::nullopt;
    const uint32_t fileTable = ReadU32(header + 16);
    const uint16_t folderCount = ReadU16(header + 26);
    const uint16_t fileCount = ReadU16(header + 28);
    const uint16_t flags = ReadU16(header + 30);
    uint64_t offset = kHeaderSize;
    size_t folderReserve = 0;
    if (flags & kFlagReservePresent) {
        if (!read(offset, header + kHeaderSize, 4))
            return std::nullopt;
        const uint16_t headerReserve = ReadU16(header + kHeaderSize);
        folderReserve = header[kHeaderSize + 2];
        if (header[kHeaderSize + 3] != 0)  // per-block reserve: the gaps would not be 8 bytes
            return std::nullopt;
        offset += 4 + headerReserve;
    }
    for (const uint16_t flag : {kFlagPreviousCabinet, kFlagNextCabinet}) {
        if ((flags & flag) && !(SkipString(read, fileSize, offset) && SkipString(read, fileSize, offset)))
            return std::nullopt;
    }

    CCabinetLayout layout;
    std::vector<std::pair<uint64_t, uint64_t>> regions;  // file ranges of headers, tables and blocks
    // Blocks that do not overlap fit in the file together: a bound on the walk below,
    // which folders naming the same blocks over and over would otherwise repeat.
    uint64_t blockBytes = 0;
    for (uint16_t f = 0; f < folderCount; ++f) {
        uint8_t entry[kFolderEntrySize];
        if (offset + kFolderEntrySize > fileSize || !read(offset, entry, kFolderEntrySize))
            return std::nullopt;
        offset += kFolderEntrySize + folderReserve;
        if ((ReadU16(entry + 6) & kCompressionMask) != 0)
            return std::nullopt;
        SFolder folder;
        folder.nFirstBlock = ReadU32(entry);
        const uint16_t blockCount = ReadU16(entry + 4);
        uint64_t block = folder.nFirstBlock;
        uint64_t content = 0;
        for (uint16_t b = 0; b < blockCount; ++b) {
            uint8_t blockHeader[kBlockHeaderSize];
            if (block + kBlockHeaderSize > fileSize || !read(block, blockHeader, kBlockHeaderSize))
                return std::nullopt;
            const uint16_t stored = ReadU16(blockHeader + 4);
            const uint16_t expanded = ReadU16(blockHeader + 6);
            const bool last = b + 1 == blockCount;
            if (stored != expanded || stored == 0 || (!last && stored != kBlockSize) || stored > kBlockSize)
                return std::nullopt;
            blockBytes += kBlockHeaderSize + stored;
            if (block + kBlockHeaderSize + stored > fileSize || blockBytes > fileSize)
                return std::nullopt;
            block += kBlockHeaderSize + stored;
            content += stored;
        }
        if (blockCount > 0)
            regions.emplace_back(folder.nFirstBlock, block);
        folder.nContentLength = static_cast<uint32_t>(content);
        layout.m_folders.push_back(std::move(folder));
    }
    regions.emplace_back(0, offset);

    offset = fileTable;
    for (uint16_t i = 0; i < fileCount; ++i) {
        uint8_t entry[kFileEntrySize];
        if (offset + kFileEntrySize > fileSize || !read(offset, entry, kFileEntrySize))
            return std::nullopt;
        offset += kFileEntrySize;
        if (!SkipString(read, fileSize, offset))
            return std::nullopt;
        const uint16_t folderIndex = ReadU16(entry + 8);
        if (folderIndex >= folderCount || folderIndex >= kFirstSpecialFolderIndex)
            continue;
        SFolder& folder = layout.m_folders[folderIndex];
        const uint32_t length = ReadU32(entry);
        const uint32_t start = ReadU32(entry + 4);
        if (length > 0 && start <= folder.nContentLength && length <= folder.nContentLength - start)
            folder.members.push_back({start, length});
    }
    if (fileCount > 0)
        regions.emplace_back(fileTable, offset);

    // Blocks that overlap each other or the tables cannot be told apart from them.
    std::sort(regions.begin(), regions.end());
    for (size_t i = 1; i < regions.size(); ++i) {
        if (regions[i].first < regions[i - 1].second)
            return std::nullopt;
    }
    return layout;
}
