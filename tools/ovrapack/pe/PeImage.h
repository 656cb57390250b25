#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "PeFormat.h"

// The headers of a PE32 or PE32+ image, read once for everything the tool does to a
// stub: where its last section ends in the file (the cut before the payload), the
// checksum field, and the section table and data directories that placing new
// resources changes and stores back.
class CPeImage
{
public:
    struct SSection
    {
        std::string strName;
        uint32_t nVirtualSize = 0;
        uint32_t nRva = 0;
        uint32_t nRawSize = 0;
        uint32_t nRawPointer = 0;
        uint32_t nCharacteristics = 0;

        // Mapped extent: the virtual size, or the raw size where a linker left it 0.
        uint32_t Extent() const { return nVirtualSize != 0 ? nVirtualSize : nRawSize; }
        bool Contains(uint32_t rva) const { return rva >= nRva && rva - nRva < Extent(); }
    };

    struct SDirectory
    {
        uint32_t nRva = 0;  // a file offset for the certificate table
        uint32_t nSize = 0;
    };

    static constexpr size_t kResourceDirectory = PeFormat::kResourceDirectory;
    static constexpr size_t kCertificateDirectory = PeFormat::kCertificateDirectory;
    static constexpr size_t kBaseRelocationDirectory = PeFormat::kBaseRelocationDirectory;
    static constexpr uint32_t kInitialisedData = PeFormat::kInitialisedData;
    static constexpr uint32_t kDiscardable = PeFormat::kDiscardable;

    // head holds the file's first bytes (at least its headers); fileSize is the whole file's.
    [[nodiscard]] static std::optional<CPeImage> Parse(const std::vector<uint8_t>& head, uint64_t fileSize,
                                                       std::string& error);
    [[nodiscard]] static std::optional<CPeImage> Parse(const std::vector<uint8_t>& file, std::string& error)
    {
        return Parse(file, file.size(), error);
    }

    // Offset just past the raw data of the last section (or the headers).
    uint64_t RawEnd() const;
    bool IsPe32Plus() const { return m_bPe32Plus; }

    // Cuts the file at RawEnd and clears the certificate-table directory entry and
    // the COFF symbol-table pointer when they point at or past the cut.
    void CutAtRawEnd(std::vector<uint8_t>& file) const;

    std::vector<SSection>& Sections() { return m_sections; }
    const std::vector<SSection>& Sections() const { return m_sections; }
    std::vector<SDirectory>& Directories() { return m_directories; }
    const std::vector<SDirectory>& Directories() const { return m_directories; }
    SDirectory Directory(size_t index) const { return index < m_directories.size() ? m_directories[index] : SDirectory(); }

    uint32_t FileAlignment() const { return m_nFileAlignment; }
    uint32_t SectionAlignment() const { return m_nSectionAlignment; }
    uint32_t SizeOfInitialisedData() const { return m_nSizeOfInitialisedData; }
    void SetSizeOfInitialisedData(uint32_t size) { m_nSizeOfInitialisedData = size; }
    uint32_t SymbolTable() const { return m_nSymbolTable; }
    void SetSymbolTable(uint32_t offset) { m_nSymbolTable = offset; }
    size_t ChecksumOffset() const { return m_nOptionalHeader + PeFormat::kOptionalChecksumField; }

    // Writes the sections, directories and pointers back, with SizeOfImage computed
    // from the sections; the checksum is left as it is.
    void Store(std::vector<uint8_t>& image) const;

private:
    [[nodiscard]] bool ReadOptionalHeader(const std::vector<uint8_t>& head, size_t optionalSize, std::string& error);
    [[nodiscard]] bool ReadSections(const std::vector<uint8_t>& head, size_t count, std::string& error);

    size_t m_nCoffHeader = 0;
    size_t m_nOptionalHeader = 0;
    size_t m_nSectionTable = 0;
    size_t m_nDirectoryTable = 0;
    uint32_t m_nSizeOfHeaders = 0;
    uint32_t m_nFileAlignment = 0;
    uint32_t m_nSectionAlignment = 0;
    uint32_t m_nSizeOfInitialisedData = 0;
    uint32_t m_nSymbolTable = 0;
    bool m_bPe32Plus = false;
    std::vector<SSection> m_sections;
    std::vector<SDirectory> m_directories;
};
