#include "ContainerBuilder.h"

namespace {

void PutU16(std::vector<uint8_t>& out, uint16_t value)
{
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

void PutU32(std::vector<uint8_t>& out, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

} // namespace

uint16_t CContainerBuilder::AddName(const std::string& name)
{
    m_names.push_back(name);
    return static_cast<uint16_t>(m_names.size() - 1);
}

void CContainerBuilder::AddChunk(std::vector<uint8_t> data, std::vector<CDestination> destinations)
{
    m_chunks.push_back({std::move(data), std::move(destinations)});
}

void CContainerBuilder::AddTrailingData(std::vector<uint8_t> data)
{
    m_trailing.insert(m_trailing.end(), data.begin(), data.end());
}

size_t CContainerBuilder::TableHeaderOffset() const
{
    size_t offset = 6;
    for (const auto& name : m_names)
        offset += name.size() + 1;
    return offset;
}

size_t CContainerBuilder::DataOffset() const
{
    size_t offset = TableHeaderOffset() + 12;
    for (const auto& chunk : m_chunks)
        offset += 5 + 8 * chunk.destinations.size();
    return offset;
}

std::vector<uint8_t> CContainerBuilder::Build() const
{
    std::vector<uint8_t> out;
    PutU32(out, static_cast<uint32_t>(TableHeaderOffset() - 4));
    PutU16(out, static_cast<uint16_t>(m_names.size()));
    for (const auto& name : m_names) {
        out.insert(out.end(), name.begin(), name.end());
        out.push_back(0);
    }
    uint32_t dataLength = 0;
    for (const auto& chunk : m_chunks)
        dataLength += static_cast<uint32_t>(chunk.data.size());
    PutU32(out, static_cast<uint32_t>(DataOffset() - TableHeaderOffset() - 4));
    PutU32(out, dataLength);
    PutU32(out, static_cast<uint32_t>(m_chunks.size()));
    for (const auto& chunk : m_chunks) {
        out.push_back(static_cast<uint8_t>(chunk.destinations.size()));
        PutU32(out, static_cast<uint32_t>(chunk.data.size()));
        for (const auto& destination : chunk.destinations) {
            PutU16(out, destination.nFileIndex);
            PutU16(out, destination.nBlockPosition);
            PutU32(out, destination.nTarget);
        }
    }
    for (const auto& chunk : m_chunks)
        out.insert(out.end(), chunk.data.begin(), chunk.data.end());
    out.insert(out.end(), m_trailing.begin(), m_trailing.end());
    return out;
}

std::vector<uint8_t> PseudoRandomBytes(size_t count, uint32_t seed)
{
    std::vector<uint8_t> bytes(count);
    uint32_t state = seed ? seed : 1;
    for (auto& byte : bytes) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        byte = static_cast<uint8_t>(state >> 24);
    }
    return bytes;
}
