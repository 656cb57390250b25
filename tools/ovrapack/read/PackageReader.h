#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "tools/ovrapack/pack/ContainerTables.h"
#include "PatchFields.h"

// Reads an installer far enough to describe it: the patch block, the stream header
// and the container's tables. Only the head of the stream is decoded, into a
// buffer as large as the tables, so listing a large package is quick and small.
class CPackageReader
{
public:
    [[nodiscard]] bool Open(const std::filesystem::path& path, std::string& error);

    const SPatchFields& Fields() const { return m_fields; }
    uint8_t Properties() const { return m_nProperties; }
    uint32_t Dictionary() const { return m_nDictionary; }
    uint64_t DecodedSize() const { return m_nDecodedSize; }
    const CContainerTables& Tables() const { return m_tables; }

private:
    [[nodiscard]] bool ReadPatchBlock(const std::filesystem::path& path, uint64_t fileSize, std::string& error);
    [[nodiscard]] bool ReadTables(const std::filesystem::path& path, std::string& error);

    SPatchFields m_fields;
    uint8_t m_nProperties = 0;
    uint32_t m_nDictionary = 0;
    uint64_t m_nDecodedSize = 0;
    CContainerTables m_tables;
};
