#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// The decoded container, as the stub's parser reads it and the packaging tool writes
// it. Every field is little-endian.
//
//   header        u32 length of the name table after this field, u16 file count
//   names         file count NUL-terminated names
//   table header  u32 length of the chunk table after this field, u32 data length,
//                 u32 chunk count
//   chunk record  u8 destination count, u32 length, then the destinations
//   destination   u16 file index (bit 15: blocked layout), u16 block position,
//                 u32 target offset
//   data section  the chunks' bytes, one after another
namespace ContainerLayout {

constexpr size_t kNamesLengthField = 0;
constexpr size_t kFileCountField = 4;
constexpr size_t kHeaderSize = 6;

constexpr size_t kChunkTableLengthField = 0;
constexpr size_t kDataLengthField = 4;
constexpr size_t kChunkCountField = 8;
constexpr size_t kTableHeaderSize = 12;

constexpr size_t kRecordCountField = 0;
constexpr size_t kRecordLengthField = 1;
constexpr size_t kRecordFixedSize = 5;
constexpr size_t kMaximumDestinations = 255;

constexpr size_t kDestinationFileField = 0;
constexpr size_t kDestinationBlockPositionField = 2;
constexpr size_t kDestinationTargetField = 4;
constexpr size_t kDestinationSize = 8;

constexpr size_t kMaximumRecordSize = kRecordFixedSize + kDestinationSize * kMaximumDestinations;

constexpr uint16_t kBlockedFlag = 0x8000;
constexpr uint16_t kIndexMask = 0x7FFF;
// The blocked layout: the target holds 32768-byte blocks, each behind an 8-byte gap.
constexpr uint32_t kBlockSize = 32768;
constexpr uint32_t kBlockGap = 8;

constexpr uint64_t kMaxDataSection = 0xFFFFFFFFull;

// The compressed stream in front of the container: properties, then the u64
// decoded size (all ones: unknown, the stream ends with a mark).
constexpr size_t kStreamDictionaryField = 1;
constexpr size_t kStreamPropertiesSize = 5;
constexpr size_t kStreamDecodedSizeField = 5;
constexpr size_t kStreamHeaderSize = 13;

static_assert(kHeaderSize == kFileCountField + sizeof(uint16_t));
static_assert(kTableHeaderSize == kChunkCountField + sizeof(uint32_t));
static_assert(kRecordFixedSize == kRecordLengthField + sizeof(uint32_t));
static_assert(kDestinationSize == kDestinationTargetField + sizeof(uint32_t));
static_assert(kMaximumDestinations == UINT8_MAX, "the destination count is one byte");
static_assert((kBlockedFlag & kIndexMask) == 0 && (kBlockedFlag | kIndexMask) == UINT16_MAX);
static_assert(kBlockSize - 1 <= UINT16_MAX, "a block position is a u16");
static_assert(kStreamHeaderSize == kStreamDecodedSizeField + sizeof(uint64_t));
static_assert(kStreamPropertiesSize == kStreamDecodedSizeField);

} // namespace ContainerLayout

namespace LittleEndian {

inline uint16_t ReadU16(const uint8_t* p)
{
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

inline uint32_t ReadU32(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
           (static_cast<uint32_t>(p[3]) << 24);
}

inline uint64_t ReadU64(const uint8_t* p)
{
    return static_cast<uint64_t>(ReadU32(p)) | (static_cast<uint64_t>(ReadU32(p + 4)) << 32);
}

inline void WriteU16(uint8_t* p, uint16_t value)
{
    p[0] = static_cast<uint8_t>(value);
    p[1] = static_cast<uint8_t>(value >> 8);
}

inline void WriteU32(uint8_t* p, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<uint8_t>(value >> (8 * i));
}

inline void WriteU64(uint8_t* p, uint64_t value)
{
    WriteU32(p, static_cast<uint32_t>(value));
    WriteU32(p + 4, static_cast<uint32_t>(value >> 32));
}

inline void AppendU16(std::vector<uint8_t>& bytes, uint16_t value)
{
    bytes.resize(bytes.size() + 2);
    WriteU16(bytes.data() + bytes.size() - 2, value);
}

inline void AppendU32(std::vector<uint8_t>& bytes, uint32_t value)
{
    bytes.resize(bytes.size() + 4);
    WriteU32(bytes.data() + bytes.size() - 4, value);
}

} // namespace LittleEndian
