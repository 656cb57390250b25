#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The parts of a PE32 or PE32+ image's headers that place its sections: the section
// table, the data directories and the sizes and pointers that follow from them. Read
// from an image's bytes, changed in memory and stored back into them.
class CPeLayout
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

    static constexpr size_t kResourceDirectory = 2;
    static constexpr size_t kCertificateDirectory = 4;
    static constexpr size_t kBaseRelocationDirectory = 5;
    static constexpr uint32_t kInitialisedData = 0x00000040;
    static constexpr uint32_t kDiscardable = 0x02000000;

    [[nodiscard]] static std::optional<CPeLayout> Parse(const std::vector<uint8_t>& image, std::string& error);

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
    size_t ChecksumOffset() const { return m_nOptionalHeader + 64; }

    // Writes the sections, directories and pointers back, with SizeOfImage computed
    // from the sections; the checksum is left as it is.
    void Store(std::vector<uint8_t>& image) const;

private:
    size_t m_nCoffHeader = 0;
    size_t m_nOptionalHeader = 0;
    size_t m_nSectionTable = 0;
    size_t m_nDirectoryTable = 0;
    uint32_t m_nFileAlignment = 0;
    uint32_t m_nSectionAlignment = 0;
    uint32_t m_nSizeOfInitialisedData = 0;
    uint32_t m_nSymbolTable = 0;
    std::vector<SSection> m_sections;
    std::vector<SDirectory> m_directories;
};
