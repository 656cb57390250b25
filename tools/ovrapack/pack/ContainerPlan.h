#pragma once

#include <cstdint>
#include <vector>

#include "ContainerTables.h"
#include "ContentHash.h"
#include "SourceReader.h"

// What a container will hold: its tables, and for every chunk record the stretch of
// source content that forms the chunk's bytes in the data section.
class CContainerPlan
{
public:
    struct SChunkSource
    {
        uint32_t nStream = 0;
        uint32_t nOffset = 0;  // within the stream's content
    };

    CContainerTables tables;
    std::vector<SSourceStream> streams;
    std::vector<SChunkSource> sources;  // parallel to tables.chunks
    uint64_t nTotalFileBytes = 0;
    uint32_t nCabinets = 0;             // files placed through the blocked layout
    uint64_t nSharedBytes = 0;          // bytes of files that travel with other content
    CContentHash::SDigest digest;       // of the tables and every chunk's content

    uint64_t ContainerSize() const { return tables.SerializedSize() + tables.nDataLength; }
};
