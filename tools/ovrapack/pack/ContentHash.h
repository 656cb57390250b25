#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// A 128-bit digest of a byte sequence, fed in pieces of any size. It keys the
// deduplication (every match is confirmed byte by byte) and derives default build
// identifiers, so it must stay stable between versions of the tool.
class CContentHash
{
public:
    struct SDigest
    {
        uint64_t nLow = 0;
        uint64_t nHigh = 0;
        bool operator==(const SDigest&) const = default;
    };

    void Update(const void* data, size_t size);
    void UpdateNumber(uint64_t value);
    SDigest Final() const;

    static SDigest Of(const void* data, size_t size);
    static std::string ToHex(uint64_t value, size_t digits);

private:
    void Mix(uint64_t word);

    uint64_t m_nA = 0x243F6A8885A308D3ull;
    uint64_t m_nB = 0x13198A2E03707344ull;
    uint64_t m_nLength = 0;
    uint64_t m_nPending = 0;
    unsigned m_nPendingBytes = 0;
};
