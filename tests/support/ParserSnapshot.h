#pragma once

#include <cstdint>
#include <string>
#include <tuple>
#include <vector>

class CPayloadParser;

// Test-only: what a parser made of a container, with pieces joined where they
// continue each other. Blocks cut differently yield different pieces for the same
// bytes, so two parsers fed the same container in different steps compare equal.
struct SParserSnapshot
{
    using Piece = std::tuple<uint32_t, uint32_t, uint32_t>;                // target, length, data position
    using Destination = std::tuple<uint16_t, uint64_t, uint16_t, size_t>;  // index, offset, position, file
    using Chunk = std::tuple<uint32_t, uint32_t, std::vector<Destination>>; // length, placed, destinations

    int nFailure = 0;
    std::string strDetail;
    int nState = 0;
    std::vector<std::string> vecNames;
    std::vector<Chunk> vecChunks;
    uint32_t nDataLength = 0;
    uint64_t nDataConsumed = 0;
    std::vector<std::vector<Piece>> vecPieces;

    static SParserSnapshot Of(const CPayloadParser& parser);
    bool operator==(const SParserSnapshot&) const = default;
};
