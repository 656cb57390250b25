#include "MemoryReadArchive.h"

#include <cstring>

CMemoryReadArchive::CMemoryReadArchive(const void* data, size_t size)
    : m_pData(static_cast<const unsigned char*>(data)), m_nSize(data != nullptr ? size : 0)
{
}

unsigned CMemoryReadArchive::Read(void* data, unsigned size)
{
    if (size > Available())
        throw kTruncated;
    if (size != 0)
        std::memcpy(data, m_pData + m_nPosition, size);
    m_nPosition += size;
    return size;
}
