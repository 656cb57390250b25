#include "ChunkCutter.h"

#include <algorithm>

CChunkCutter::CChunkCutter(size_t averageSize)
{
    // A fixed generator, so cut points never change between runs or versions.
    uint64_t state = 0x6F7672615F636463ull;
    for (auto& value : m_gear) {
        state += 0x9E3779B97F4A7C15ull;
        uint64_t z = state;
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        value = z ^ (z >> 31);
    }
    unsigned bits = 6;
    while (bits < 30 && (size_t(1) << (bits + 1)) <= averageSize)
        ++bits;
    // The high bits of the hash depend on the most recent 64 bytes only.
    m_nMask = ~uint64_t(0) << (64 - bits);
    m_nMinimum = (size_t(1) << bits) / 4;
    m_nMaximum = (size_t(1) << bits) * 4;
}

void CChunkCutter::Restart()
{
    m_nLength = 0;
    m_nHash = 0;
}

bool CChunkCutter::Scan(const uint8_t* data, size_t size, size_t& used)
{
    size_t pos = 0;
    if (m_nLength < m_nMinimum) {
        const size_t skip = std::min(size, m_nMinimum - m_nLength);
        // Warm the hash up on the 64 bytes before the first possible cut.
        const size_t warm = std::min<size_t>(skip, 64);
        for (size_t i = skip - warm; i < skip; ++i)
            m_nHash = (m_nHash << 1) + m_gear[data[i]];
        m_nLength += skip;
        pos = skip;
    }
    while (pos < size) {
        m_nHash = (m_nHash << 1) + m_gear[data[pos]];
        ++pos;
        if (++m_nLength >= m_nMaximum || (m_nHash & m_nMask) == 0) {
            Restart();
            used = pos;
            return true;
        }
    }
    used = size;
    return false;
}
