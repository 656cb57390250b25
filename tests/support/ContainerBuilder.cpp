#include "ContainerBuilder.h"

using namespace ContainerLayout;
using LittleEndian::AppendU16;
using LittleEndian::AppendU32;

uint16_t CContainerBuilder::AddName(const std::string& name)
{
    m_names.push_back(name);
    return static_cast<uint16_t>(m_names.size() - 1);
}

void CContainerBuilder::AddChunk(std::vector<uint8_t> data, std::vector<SDestination> destinations)
{
    m_chunks.push_back({std::move(data), std::move(destinations)});
}

void CContainerBuilder::AddTrailingData(std::vector<uint8_t> data)
{
    m_trailing.insert(m_trailing.end(), data.begin(), data.end());
}

size_t CContainerBuilder::TableHeaderOffset() const
{
    size_t offset = kHeaderSize;
    for (const auto& name : m_names)
        offset += name.size() + 1;
    return offset;
}

size_t CContainerBuilder::DataOffset() const
{
    size_t offset = TableHeaderOffset() + kTableHeaderSize;
    for (const auto& chunk : m_chunks)
        offset += kRecordFixedSize + kDestinationSize * chunk.destinations.size();
    return offset;
}

std::vector<uint8_t> CContainerBuilder::Build() const
{
    std::vector<uint8_t> out;
    AppendU32(out, static_cast<uint32_t>(TableHeaderOffset() - kFileCountField));
    AppendU16(out, static_cast<uint16_t>(m_names.size()));
    for (const auto& name : m_names) {
        out.insert(out.end(), name.begin(), name.end());
        out.push_back(0);
    }
    uint32_t dataLength = 0;
    for (const auto& chunk : m_chunks)
        dataLength += static_cast<uint32_t>(chunk.data.size());
    AppendU32(out, static_cast<uint32_t>(DataOffset() - (TableHeaderOffset() + kDataLengthField)));
    AppendU32(out, dataLength);
    AppendU32(out, static_cast<uint32_t>(m_chunks.size()));
    for (const auto& chunk : m_chunks) {
        out.push_back(static_cast<uint8_t>(chunk.destinations.size()));
        AppendU32(out, static_cast<uint32_t>(chunk.data.size()));
        for (const auto& destination : chunk.destinations) {
            AppendU16(out, destination.nFileIndex);
            AppendU16(out, destination.nBlockPosition);
            AppendU32(out, destination.nTarget);
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
