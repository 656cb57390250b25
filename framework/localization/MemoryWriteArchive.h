#pragma once

#include "Archive.h"

#include <vector>

// Collects what is written in memory.
class CMemoryWriteArchive final : public IArchive
{
public:
    bool IsStoring() const override { return true; }
    void Write(const void* data, unsigned size) override;
    unsigned Read(void*, unsigned) override { return 0; }
    uint64_t Available() const override { return 0; }

    const std::vector<unsigned char>& GetBytes() const { return m_bytes; }

private:
    std::vector<unsigned char> m_bytes;
};
