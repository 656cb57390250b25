#include "ContainerTables.h"

#include <algorithm>
#include <limits>

using namespace ContainerLayout;
using LittleEndian::AppendU16;
using LittleEndian::AppendU32;
using LittleEndian::ReadU16;
using LittleEndian::ReadU32;

namespace {

constexpr uint64_t kMaximum32 = std::numeric_limits<uint32_t>::max();

} // namespace

uint64_t CContainerTables::SerializedSize() const
{
    uint64_t size = kHeaderSize + kTableHeaderSize;
    for (const auto& name : names)
        size += name.size() + 1;
    for (const auto& chunk : chunks)
        size += kRecordFixedSize + kDestinationSize * chunk.destinations.size();
    return size;
}

bool CContainerTables::Serialize(std::vector<uint8_t>& bytes, std::string& error) const
{
    if (names.size() > 0xFFFF) {
        error = "too many files for the container: " + std::to_string(names.size());
        return false;
    }
    uint64_t nameBytes = kHeaderSize - kFileCountField;
    for (const auto& name : names)
        nameBytes += name.size() + 1;
    uint64_t recordBytes = kTableHeaderSize - kDataLengthField;
    uint64_t dataLength = 0;
    for (const auto& chunk : chunks) {
        if (chunk.destinations.empty() || chunk.destinations.size() > kMaximumDestinations) {
            error = "a chunk record needs 1 to 255 destinations";
            return false;
        }
        recordBytes += kRecordFixedSize + kDestinationSize * chunk.destinations.size();
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
    AppendU32(bytes, static_cast<uint32_t>(nameBytes));
    AppendU16(bytes, static_cast<uint16_t>(names.size()));
    for (const auto& name : names) {
        bytes.insert(bytes.end(), name.begin(), name.end());
        bytes.push_back(0);
    }
    AppendU32(bytes, static_cast<uint32_t>(recordBytes));
    AppendU32(bytes, nDataLength);
    AppendU32(bytes, static_cast<uint32_t>(chunks.size()));
    for (const auto& chunk : chunks) {
        bytes.push_back(static_cast<uint8_t>(chunk.destinations.size()));
        AppendU32(bytes, chunk.nLength);
        for (const auto& destination : chunk.destinations) {
            AppendU16(bytes, static_cast<uint16_t>(destination.nFile | (destination.bBlocked ? kBlockedFlag : 0)));
            AppendU16(bytes, destination.nBlockPosition);
            AppendU32(bytes, destination.nTargetOffset);
        }
    }
    return true;
}

uint64_t CContainerTables::BytesNeeded(const uint8_t* prefix, size_t size)
{
    if (size < kFileCountField)
        return kFileCountField;
    const uint64_t nameEnd = kFileCountField + uint64_t(ReadU32(prefix + kNamesLengthField));
    if (size < nameEnd + kDataLengthField)
        return nameEnd + kDataLengthField;
    return nameEnd + kDataLengthField + ReadU32(prefix + nameEnd + kChunkTableLengthField);
}

std::optional<CContainerTables> CContainerTables::Parse(const uint8_t* bytes, size_t size, std::string& error)
{
    CContainerTables tables;
    const auto fail = [&error](const std::string& what) {
        error = "damaged container: " + what;
        return std::nullopt;
    };
    if (size < kHeaderSize)
        return fail("too short for its header");
    const uint64_t nameEnd = kFileCountField + uint64_t(ReadU32(bytes + kNamesLengthField));
    const uint32_t fileCount = ReadU16(bytes + kFileCountField);
    if (nameEnd + kTableHeaderSize > size)
        return fail("name table runs past the tables");
    if (nameEnd < kHeaderSize)
        return fail("name table length is shorter than its header");
    size_t pos = kHeaderSize;
    for (uint32_t i = 0; i < fileCount; ++i) {
        const auto* end = std::find(bytes + pos, bytes + nameEnd, 0);
        if (end == bytes + nameEnd)
            return fail("name " + std::to_string(i) + " is not terminated inside the name table");
        tables.names.emplace_back(reinterpret_cast<const char*>(bytes + pos), static_cast<size_t>(end - (bytes + pos)));
        pos = static_cast<size_t>(end - bytes) + 1;
    }
    if (pos != nameEnd)
        return fail("name table length does not match its names");
    const uint64_t tablesEnd = nameEnd + kDataLengthField + uint64_t(ReadU32(bytes + nameEnd + kChunkTableLengthField));
    tables.nDataLength = ReadU32(bytes + nameEnd + kDataLengthField);
    const uint32_t chunkCount = ReadU32(bytes + nameEnd + kChunkCountField);
    if (tablesEnd > size)
        return fail("chunk table runs past the bytes read");
    pos = static_cast<size_t>(nameEnd + kTableHeaderSize);
    // A length shorter than the table's own header would make the room left below negative.
    if (tablesEnd < pos)
        return fail("chunk table length is shorter than its header");
    uint64_t dataLength = 0;
    // Each record takes at least 13 bytes, which caps the count by the bytes present.
    if (chunkCount > (tablesEnd - pos) / (kRecordFixedSize + kDestinationSize))
        return fail("chunk count exceeds the chunk table");
    tables.chunks.reserve(chunkCount);
    for (uint32_t c = 0; c < chunkCount; ++c) {
        if (pos + kRecordFixedSize > tablesEnd)
            return fail("chunk record " + std::to_string(c) + " is cut short");
        const size_t count = bytes[pos + kRecordCountField];
        SChunk chunk;
        chunk.nLength = ReadU32(bytes + pos + kRecordLengthField);
        pos += kRecordFixedSize;
        if (count == 0 || pos + count * kDestinationSize > tablesEnd)
            return fail("chunk record " + std::to_string(c) + " has a bad destination count");
        for (size_t j = 0; j < count; ++j, pos += kDestinationSize) {
            const uint16_t index = ReadU16(bytes + pos + kDestinationFileField);
            SDestination destination;
            destination.nFile = index & kIndexMask;
            destination.bBlocked = (index & kBlockedFlag) != 0;
            destination.nBlockPosition = ReadU16(bytes + pos + kDestinationBlockPositionField);
            destination.nTargetOffset = ReadU32(bytes + pos + kDestinationTargetField);
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
            offset += kBlockGap;
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
