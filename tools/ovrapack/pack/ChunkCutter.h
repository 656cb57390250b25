#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// Content-defined cut points: a rolling hash over the last 64 bytes decides where
// a stretch ends, so the same content is cut the same way wherever it lies and
// shared stretches of different files can be recognised.
class CChunkCutter
{
public:
    // averageSize is rounded down to a power of two; pieces stay between a quarter
    // and four times of it.
    explicit CChunkCutter(size_t averageSize);

    // Scans bytes that continue the current piece. Returns true when the piece ends
    // after the first used bytes (the cutter then restarts for the next piece);
    // false when all size bytes belong to it and it goes on.
    bool Scan(const uint8_t* data, size_t size, size_t& used);
    void Restart();

    size_t MinimumSize() const { return m_nMinimum; }
    size_t MaximumSize() const { return m_nMaximum; }

private:
    std::array<uint64_t, 256> m_gear{};
    uint64_t m_nMask = 0;
    size_t m_nMinimum = 0;
    size_t m_nMaximum = 0;
    size_t m_nLength = 0;
    uint64_t m_nHash = 0;
};
