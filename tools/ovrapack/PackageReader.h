#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "ContainerTables.h"

// Reads an installer far enough to describe it: the patch block, the stream header
// and the container's tables. Only the head of the stream is decoded, into a
// buffer as large as the tables, so listing a large package is quick and small.
class CPackageReader
{
public:
    [[nodiscard]] bool Open(const std::filesystem::path& path, std::string& error);

    const std::string& BuildId() const { return m_strBuildId; }
    const std::string& SetupName() const { return m_strSetupName; }
    uint32_t StreamOffset() const { return m_nStreamOffset; }
    uint32_t PictureOffset() const { return m_nPictureOffset; }
    uint64_t RequiredBytes() const { return m_nRequiredBytes; }
    uint8_t Properties() const { return m_nProperties; }
    uint32_t Dictionary() const { return m_nDictionary; }
    uint64_t DecodedSize() const { return m_nDecodedSize; }
    const CContainerTables& Tables() const { return m_tables; }

private:
    [[nodiscard]] bool ReadPatchBlock(const std::filesystem::path& path, uint64_t fileSize, std::string& error);
    [[nodiscard]] bool ReadTables(const std::filesystem::path& path, std::string& error);

    std::string m_strBuildId;
    std::string m_strSetupName;
    uint32_t m_nStreamOffset = 0;
    uint32_t m_nPictureOffset = 0;
    uint64_t m_nRequiredBytes = 0;
    uint8_t m_nProperties = 0;
    uint32_t m_nDictionary = 0;
    uint64_t m_nDecodedSize = 0;
    CContainerTables m_tables;
};
