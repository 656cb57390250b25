#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "ContainerPlan.h"
#include "SourceReader.h"

// The container's bytes in stream order, produced on demand: the tables from
// memory, then every chunk's bytes read from its source files.
class CContainerSource
{
public:
    CContainerSource(const CContainerPlan& plan, CSourceReader& reader) : m_plan(plan), m_reader(reader) {}

    [[nodiscard]] bool Prepare(std::string& error);
    // Delivers up to size bytes; got is 0 once the container has ended.
    [[nodiscard]] bool Read(uint8_t* buffer, size_t size, size_t& got, std::string& error);

private:
    const CContainerPlan& m_plan;
    CSourceReader& m_reader;
    std::vector<uint8_t> m_tables;
    size_t m_nTablesSent = 0;
    size_t m_nChunk = 0;
    uint32_t m_nChunkSent = 0;
};
