#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "payload/ContainerLayout.h"

// Test-only: lays out a payload container in memory from names and chunks.
class CContainerBuilder
{
public:
    struct SDestination
    {
        uint16_t nFileIndex; // bit 15 selects the blocked layout
        uint16_t nBlockPosition;
        uint32_t nTarget;
    };

    static constexpr uint16_t kBlocked = ContainerLayout::kBlockedFlag;

    uint16_t AddName(const std::string& name);
    void AddChunk(std::vector<uint8_t> data, std::vector<SDestination> destinations);
    // Bytes appended after the last chunk's data, belonging to no chunk.
    void AddTrailingData(std::vector<uint8_t> data);

    std::vector<uint8_t> Build() const;

    // Offsets inside Build()'s result, for tests that damage a field.
    size_t TableHeaderOffset() const;
    size_t DataOffset() const;

private:
    struct SChunk
    {
        std::vector<uint8_t> data;
        std::vector<SDestination> destinations;
    };
    std::vector<std::string> m_names;
    std::vector<SChunk> m_chunks;
    std::vector<uint8_t> m_trailing;
};

// Deterministic filler bytes (a fixed-seed generator), incompressible on purpose.
std::vector<uint8_t> PseudoRandomBytes(size_t count, uint32_t seed);
