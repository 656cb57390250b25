#include "MemoryWriteArchive.h"

void CMemoryWriteArchive::Write(const void* data, unsigned size)
{
    const auto* bytes = static_cast<const unsigned char*>(data);
    m_bytes.insert(m_bytes.end(), bytes, bytes + size);
}
