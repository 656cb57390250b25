#include "PeChecksum.h"

namespace {

constexpr uint64_t kFieldSize = 4;

} // namespace

void CPeChecksum::AddByte(uint64_t position, uint8_t value)
{
    if (position >= m_nField && position < m_nField + kFieldSize)
        return;
    m_nSum += (position & 1) != 0 ? uint64_t(value) << 8 : value;
}

void CPeChecksum::Update(const uint8_t* data, size_t size)
{
    size_t i = 0;
    const bool touchesField = m_nLength < m_nField + kFieldSize && m_nLength + size > m_nField;
    if ((m_nLength & 1) != 0 && size > 0) {
        AddByte(m_nLength, data[0]);
        i = 1;
    }
    if (touchesField) {
        for (; i < size; ++i)
            AddByte(m_nLength + i, data[i]);
    } else {
        for (; i + 1 < size; i += 2)
            m_nSum += data[i] | (uint32_t(data[i + 1]) << 8);
        if (i < size)
            AddByte(m_nLength + i, data[i]);
    }
    m_nLength += size;
}

uint32_t CPeChecksum::Final() const
{
    uint64_t sum = m_nSum;
    while (sum > 0xFFFF)
        sum = (sum & 0xFFFF) + (sum >> 16);
    return static_cast<uint32_t>(sum + m_nLength);
}
