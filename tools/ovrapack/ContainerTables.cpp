#include "ContainerTables.h"

#include <algorithm>
#include <limits>

namespace {

void Put(std::vector<uint8_t>& bytes, uint64_t value, size_t length)
{
    for (size_t i = 0; i < length; ++i)
        bytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

uint32_t Get(const uint8_t* bytes, size_t length)
{
    uint32_t value = 0;
    for (size_t i = 0; i < length; ++i)
        value |= uint32_t(bytes[i]) << (8 * i);
    return value;
}

constexpr uint64_t kMaximum32 = std::numeric_limits<uint32_t>::max();
constexpr size_t kRecordHeader = 5;
constexpr size_t kDestinationSize = 8;

} // namespace

uint64_t CContainerTables::SerializedSize() const
{
    uint64_t size = 4 + 2 + 12;
    for (const auto& name : names)
        size += name.size() + 1;
    for (const auto& chunk : chunks)
        size += kRecordHeader + kDestinationSize * chunk.destinations.size();
    return size;
}

bool CContainerTables::Serialize(std::vector<uint8_t>& bytes, std::string& error) const
{
    if (names.size() > 0xFFFF) {
        error = "too many files for the container: " + std::to_string(names.size());
        return false;
    }
    uint64_t nameBytes = 2;
    for (const auto& name : names)
        nameBytes += name.size() + 1;
    uint64_t recordBytes = 8;
    uint64_t dataLength = 0;
    for (const auto& chunk : chunks) {
        if (chunk.destinations.empty() || chunk.destinations.size() > kMaximumDestinations) {
            error = "a chunk record needs 1 to 255 destinations";
            return false;
        }
        recordBytes += kRecordHeader + kDestinationSize * chunk.destinations.size();
        dataLength += chunk.nLength;
    }
    if (nameBytes > kMaximum32 || recordBytes > kMaximum32 || chunks.size() > kMaximum32) {
        error = "the container's tables exceed the format's 32-bit lengths";
        return false;
    }
    if (dataLength != nDataLength) {
        error = "the data length does not match the chunk lengths";
        return false;
    }
    bytes.clear();
    bytes.reserve(static_cast<size_t>(SerializedSize()));
    Put(bytes, nameBytes, 4);
    Put(bytes, names.size(), 2);
    for (const auto& name : names) {
        bytes.insert(bytes.end(), name.begin(), name.end());
        bytes.push_back(0);
    }
    Put(bytes, recordBytes, 4);
    Put(bytes, nDataLength, 4);
    Put(bytes, chunks.size(), 4);
    for (const auto& chunk : chunks) {
        Put(bytes, chunk.destinations.size(), 1);
        Put(bytes, chunk.nLength, 4);
        for (const auto& destination : chunk.destinations) {
            Put(bytes, destination.nFile | (destination.bBlocked ? kBlockedFlag : 0), 2);
            Put(bytes, destination.nBlockPosition, 2);
            Put(bytes, destination.nTargetOffset, 4);
        }
    }
    return true;
}

uint64_t CContainerTables::BytesNeeded(const uint8_t* prefix, size_t size)
{
    if (size < 4)
        return 4;
    const uint64_t nameEnd = 4 + uint64_t(Get(prefix, 4));
    if (size < nameEnd + 4)
        return nameEnd + 4;
    return nameEnd + 4 + Get(prefix + nameEnd, 4);
}

std::optional<CContainerTables> CContainerTables::Parse(const uint8_t* bytes, size_t size, std::string& error)
{
    CContainerTables tables;
    const auto fail = [&error](const std::string& what) {
        error = "damaged container: " + what;
        return std::nullopt;
    };
    if (size < 6)
        return fail("too short for its header");
    const uint64_t nameEnd = 4 + uint64_t(Get(bytes, 4));
    const uint32_t fileCount = Get(bytes + 4, 2);
    if (nameEnd + 12 > size)
        return fail("name table runs past the tables");
    size_t pos = 6;
    for (uint32_t i = 0; i < fileCount; ++i) {
        const auto* end = std::find(bytes + pos, bytes + nameEnd, 0);
        if (end == bytes + nameEnd)
            return fail("name " + std::to_string(i) + " is not terminated inside the name table");
        tables.names.emplace_back(reinterpret_cast<const char*>(bytes + pos), static_cast<size_t>(end - (bytes + pos)));
        pos = static_cast<size_t>(end - bytes) + 1;
    }
    if (pos != nameEnd)
        return fail("name table length does not match its names");
    const uint64_t tablesEnd = nameEnd + 4 + uint64_t(Get(bytes + nameEnd, 4));
    tables.nDataLength = Get(bytes + nameEnd + 4, 4);
    const uint32_t chunkCount = Get(bytes + nameEnd + 8, 4);
    if (tablesEnd > size)
        return fail("chunk table runs past the bytes read");
    pos = static_cast<size_t>(nameEnd + 12);
    uint64_t dataLength = 0;
    // Each record takes at least 13 bytes, which caps the count by the bytes present.
    if (chunkCount > (tablesEnd - pos) / (kRecordHeader + kDestinationSize))
        return fail("chunk count exceeds the chunk table");
    tables.chunks.reserve(chunkCount);
    for (uint32_t c = 0; c < chunkCount; ++c) {
        if (pos + kRecordHeader > tablesEnd)
            return fail("chunk record " + std::to_string(c) + " is cut short");
        const size_t count = bytes[pos];
        SChunk chunk;
        chunk.nLength = Get(bytes + pos + 1, 4);
        pos += kRecordHeader;
        if (count == 0 || pos + count * kDestinationSize > tablesEnd)
            return fail("chunk record " + std::to_string(c) + " has a bad destination count");
        for (size_t j = 0; j < count; ++j, pos += kDestinationSize) {
            const uint16_t index = static_cast<uint16_t>(Get(bytes + pos, 2));
            SDestination destination;
            destination.nFile = index & ~kBlockedFlag;
            destination.bBlocked = (index & kBlockedFlag) != 0;
            destination.nBlockPosition = static_cast<uint16_t>(Get(bytes + pos + 2, 2));
            destination.nTargetOffset = Get(bytes + pos + 4, 4);
            if (destination.nFile >= fileCount)
                return fail("chunk record " + std::to_string(c) + " names file " + std::to_string(destination.nFile) +
                            " of " + std::to_string(fileCount));
            chunk.destinations.push_back(destination);
        }
        dataLength += chunk.nLength;
        tables.chunks.push_back(std::move(chunk));
    }
    if (pos != tablesEnd)
        return fail("chunk table length does not match its records");
    if (dataLength > tables.nDataLength)
        return fail("chunks hold more bytes than the data section");
    return tables;
}

uint64_t CContainerTables::EndOffset(const SDestination& destination, uint32_t length)
{
    if (!destination.bBlocked)
        return uint64_t(destination.nTargetOffset) + length;
    uint64_t offset = destination.nTargetOffset;
    uint64_t position = destination.nBlockPosition % kBlockSize;
    uint64_t remaining = length;
    while (remaining > 0) {
        const uint64_t room = kBlockSize - position % kBlockSize;
        if (room == kBlockSize)
            offset += kGapSize;
        const uint64_t step = std::min(room, remaining);
        offset += step;
        position += step;
        remaining -= step;
    }
    return offset;
}

std::vector<uint64_t> CContainerTables::FileSizes() const
{
    std::vector<uint64_t> sizes(names.size(), 0);
    for (const auto& chunk : chunks) {
        if (chunk.nLength == 0)
            continue;
        for (const auto& destination : chunk.destinations)
            sizes[destination.nFile] = std::max(sizes[destination.nFile], EndOffset(destination, chunk.nLength));
    }
    return sizes;
}
