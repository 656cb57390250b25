#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "payload/ContainerLayout.h"

// The tables at the head of a container (payload/ContainerLayout.h): the names, then
// the chunk records that say where each chunk's bytes belong. The data section
// follows them and is not part of this object.
class CContainerTables
{
public:
    struct SDestination
    {
        uint16_t nFile = 0;          // index into the names, below 32768
        bool bBlocked = false;
        uint16_t nBlockPosition = 0; // blocked layout only: position in the current block
        uint32_t nTargetOffset = 0;
        bool operator==(const SDestination&) const = default;
    };

    struct SChunk
    {
        uint32_t nLength = 0;
        std::vector<SDestination> destinations;  // 1 to 255
    };

    std::vector<std::string> names;
    std::vector<SChunk> chunks;
    uint32_t nDataLength = 0;

    // Header, names, table header and records, as the stream carries them. Fails
    // when a count or length exceeds what the format's fields hold.
    [[nodiscard]] bool Serialize(std::vector<uint8_t>& bytes, std::string& error) const;

    // Size of the tables once serialized (8 + L1 + L2).
    uint64_t SerializedSize() const;

    // How many leading bytes a reader needs next: the tables' full size once the
    // prefix holds both length fields, otherwise the bytes up to the next of them.
    static uint64_t BytesNeeded(const uint8_t* prefix, size_t size);

    // Reads tables from bytes that hold all of them; checks every index and count.
    static std::optional<CContainerTables> Parse(const uint8_t* bytes, size_t size, std::string& error);

    // First file offset past the bytes a destination receives from a chunk of the
    // given length.
    static uint64_t EndOffset(const SDestination& destination, uint32_t length);

    // Each file's size: the end of its furthest placement.
    std::vector<uint64_t> FileSizes() const;
};
