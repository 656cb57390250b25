#pragma once

#include <cstddef>
#include <cstdint>

// The image checksum of a PE file, taken over the whole file as it is written: the
// one's-complement sum of its 16-bit words, the checksum field itself counting as
// zero, plus the file's length.
class CPeChecksum
{
public:
    explicit CPeChecksum(uint64_t fieldOffset) : m_nField(fieldOffset) {}

    void Update(const uint8_t* data, size_t size);
    uint32_t Final() const;

private:
    void AddByte(uint64_t position, uint8_t value);

    uint64_t m_nField;
    uint64_t m_nLength = 0;
    uint64_t m_nSum = 0;  // folded at the end; 2^48 words cannot overflow it
};
