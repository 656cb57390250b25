#include "ContainerSource.h"

#include <algorithm>
#include <cstring>

bool CContainerSource::Prepare(std::string& error)
{
    return m_plan.tables.Serialize(m_tables, error);
}

bool CContainerSource::Read(uint8_t* buffer, size_t size, size_t& got, std::string& error)
{
    got = 0;
    if (m_nTablesSent < m_tables.size()) {
        const size_t step = std::min(size, m_tables.size() - m_nTablesSent);
        std::memcpy(buffer, m_tables.data() + m_nTablesSent, step);
        m_nTablesSent += step;
        got = step;
        return true;
    }
    while (got < size && m_nChunk < m_plan.tables.chunks.size()) {
        const uint32_t length = m_plan.tables.chunks[m_nChunk].nLength;
        if (m_nChunkSent == length) {
            ++m_nChunk;
            m_nChunkSent = 0;
            continue;
        }
        const CContainerPlan::SChunkSource& source = m_plan.sources[m_nChunk];
        const size_t step = std::min<size_t>(size - got, length - m_nChunkSent);
        if (!m_reader.ReadStream(m_plan.streams[source.nStream], uint64_t(source.nOffset) + m_nChunkSent,
                                 buffer + got, step, error))
            return false;
        got += step;
        m_nChunkSent += static_cast<uint32_t>(step);
    }
    return true;
}
