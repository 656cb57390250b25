#pragma once

#include "Archive.h"

#include <cstddef>

// Reads from a block of bytes it does not own; never past its end.
class CMemoryReadArchive final : public IArchive
{
public:
    CMemoryReadArchive(const void* data, size_t size);

    bool IsStoring() const override { return false; }
    void Write(const void*, unsigned) override {}
    unsigned Read(void* data, unsigned size) override;
    uint64_t Available() const override { return m_nSize - m_nPosition; }

    size_t GetPosition() const { return m_nPosition; }

private:
    const unsigned char* m_pData;
    size_t m_nSize;
    size_t m_nPosition = 0;
};
