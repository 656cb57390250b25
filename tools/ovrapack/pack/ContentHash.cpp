#include "ContentHash.h"

#include <cstring>

namespace {

uint64_t Rotate(uint64_t value, unsigned bits)
{
    return (value << bits) | (value >> (64 - bits));
}

uint64_t Avalanche(uint64_t value)
{
    value ^= value >> 33;
    value *= 0xFF51AFD7ED558CCDull;
    value ^= value >> 33;
    value *= 0xC4CEB9FE1A85EC53ull;
    value ^= value >> 33;
    return value;
}

} // namespace

void CContentHash::Mix(uint64_t word)
{
    m_nA = Rotate((m_nA ^ word) * 0x9E3779B97F4A7C15ull, 31);
    m_nB = Rotate((m_nB + word) * 0xC2B2AE3D27D4EB4Full, 29) ^ m_nA;
}

void CContentHash::Update(const void* data, size_t size)
{
    const auto* bytes = static_cast<const uint8_t*>(data);
    m_nLength += size;
    while (size > 0 && m_nPendingBytes != 0) {
        m_nPending |= uint64_t(*bytes++) << (8 * m_nPendingBytes);
        --size;
        if (++m_nPendingBytes == 8) {
            Mix(m_nPending);
            m_nPending = 0;
            m_nPendingBytes = 0;
        }
    }
    while (size >= 8) {
        uint64_t word = 0;
        for (unsigned i = 0; i < 8; ++i)
            word |= uint64_t(bytes[i]) << (8 * i);
        Mix(word);
        bytes += 8;
        size -= 8;
    }
    while (size > 0) {
        m_nPending |= uint64_t(*bytes++) << (8 * m_nPendingBytes++);
        --size;
    }
}

void CContentHash::UpdateNumber(uint64_t value)
{
    uint8_t bytes[8];
    for (unsigned i = 0; i < 8; ++i)
        bytes[i] = static_cast<uint8_t>(value >> (8 * i));
    Update(bytes, sizeof(bytes));
}

CContentHash::SDigest CContentHash::Final() const
{
    CContentHash copy = *this;
    copy.Mix(copy.m_nPending ^ (uint64_t(copy.m_nPendingBytes) << 56));
    copy.Mix(copy.m_nLength);
    SDigest digest;
    digest.nLow = Avalanche(copy.m_nA + copy.m_nB);
    digest.nHigh = Avalanche(copy.m_nB ^ Rotate(copy.m_nA, 17));
    return digest;
}

CContentHash::SDigest CContentHash::Of(const void* data, size_t size)
{
    CContentHash hash;
    hash.Update(data, size);
    return hash.Final();
}

std::string CContentHash::ToHex(uint64_t value, size_t digits)
{
    static const char kDigits[] = "0123456789ABCDEF";
    std::string text(digits, '0');
    for (size_t i = 0; i < digits && i < 16; ++i)
        text[digits - 1 - i] = kDigits[(value >> (4 * i)) & 0xF];
    return text;
}
