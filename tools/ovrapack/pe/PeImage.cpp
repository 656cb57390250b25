#include "PeImage.h"

#include <algorithm>
#include <cstring>

#include "payload/ContainerLayout.h"

using namespace PeFormat;

namespace {

uint16_t Read16(const std::vector<uint8_t>& bytes, size_t offset)
{
    return LittleEndian::ReadU16(bytes.data() + offset);
}

uint32_t Read32(const std::vector<uint8_t>& bytes, size_t offset)
{
    return LittleEndian::ReadU32(bytes.data() + offset);
}

void Write32(std::vector<uint8_t>& bytes, size_t offset, uint32_t value)
{
    LittleEndian::WriteU32(bytes.data() + offset, value);
}

void Clear(std::vector<uint8_t>& bytes, size_t offset, size_t length)
{
    std::fill_n(bytes.begin() + static_cast<std::ptrdiff_t>(offset), length, uint8_t(0));
}

bool IsPowerOfTwo(uint32_t value)
{
    return value != 0 && (value & (value - 1)) == 0;
}

} // namespace

std::optional<CPeImage> CPeImage::Parse(const std::vector<uint8_t>& head, uint64_t fileSize, std::string& error)
{
    if (head.size() < kDosHeaderSize || Read16(head, 0) != kDosMagic) {
        error = "not a Windows executable (no MZ header)";
        return std::nullopt;
    }
    const size_t pe = Read32(head, kSignatureOffsetField);
    if (pe > head.size() || head.size() - pe < kSignatureSize + kCoffHeaderSize || Read32(head, pe) != kSignature) {
        error = "not a PE executable (no PE signature)";
        return std::nullopt;
    }
    CPeImage image;
    image.m_nCoffHeader = pe + kSignatureSize;
    image.m_nOptionalHeader = image.m_nCoffHeader + kCoffHeaderSize;
    const size_t sectionCount = Read16(head, image.m_nCoffHeader + kCoffSectionCountField);
    const size_t optionalSize = Read16(head, image.m_nCoffHeader + kCoffOptionalSizeField);
    image.m_nSectionTable = image.m_nOptionalHeader + optionalSize;
    // Every image the system loads has the optional header's fields up to SizeOfHeaders;
    // without them the headers' end is unknown, and a cut there could fall inside the
    // DOS header.
    if (optionalSize < kOptionalChecksumField ||
        image.m_nSectionTable + sectionCount * kSectionHeaderSize > head.size()) {
        error = "PE headers are truncated";
        return std::nullopt;
    }
    image.m_nSymbolTable = Read32(head, image.m_nCoffHeader + kCoffSymbolTableField);
    if (!image.ReadOptionalHeader(head, optionalSize, error) || !image.ReadSections(head, sectionCount, error))
        return std::nullopt;
    const uint64_t rawEnd = image.RawEnd();
    if (rawEnd > fileSize) {
        error = "executable is truncated: its sections end at " + std::to_string(rawEnd) + " but the file has " +
                std::to_string(fileSize) + " bytes";
        return std::nullopt;
    }
    return image;
}

bool CPeImage::ReadOptionalHeader(const std::vector<uint8_t>& head, size_t optionalSize, std::string& error)
{
    const uint16_t magic = Read16(head, m_nOptionalHeader + kOptionalMagicField);
    if (magic != kMagicPe32 && magic != kMagicPe32Plus) {
        error = "unknown PE optional-header magic";
        return false;
    }
    m_bPe32Plus = magic == kMagicPe32Plus;
    const size_t countField = DirectoryCountField(m_bPe32Plus);
    if (optionalSize < countField + sizeof(uint32_t)) {
        error = "PE optional header is too short";
        return false;
    }
    m_nDirectoryTable = m_nOptionalHeader + countField + sizeof(uint32_t);
    const size_t directoryCount = std::min<size_t>(Read32(head, m_nOptionalHeader + countField),
                                                   (m_nSectionTable - m_nDirectoryTable) / kDirectorySize);
    for (size_t i = 0; i < directoryCount; ++i) {
        const size_t entry = m_nDirectoryTable + i * kDirectorySize;
        m_directories.push_back({Read32(head, entry + kDirectoryAddressField), Read32(head, entry + kDirectorySizeField)});
    }
    m_nSizeOfInitialisedData = Read32(head, m_nOptionalHeader + kOptionalInitialisedDataField);
    m_nSectionAlignment = Read32(head, m_nOptionalHeader + kOptionalSectionAlignmentField);
    m_nFileAlignment = Read32(head, m_nOptionalHeader + kOptionalFileAlignmentField);
    m_nSizeOfHeaders = Read32(head, m_nOptionalHeader + kOptionalSizeOfHeadersField);
    if (!IsPowerOfTwo(m_nSectionAlignment) || !IsPowerOfTwo(m_nFileAlignment)) {
        error = "PE section or file alignment is not a power of two";
        return false;
    }
    return true;
}

bool CPeImage::ReadSections(const std::vector<uint8_t>& head, size_t count, std::string& error)
{
    for (size_t i = 0; i < count; ++i) {
        const size_t header = m_nSectionTable + i * kSectionHeaderSize;
        const char* name = reinterpret_cast<const char*>(head.data() + header + kSectionNameField);
        SSection section;
        section.strName.assign(name, strnlen(name, kSectionNameSize));
        section.nVirtualSize = Read32(head, header + kSectionVirtualSizeField);
        section.nRva = Read32(head, header + kSectionRvaField);
        section.nRawSize = Read32(head, header + kSectionRawSizeField);
        section.nRawPointer = Read32(head, header + kSectionRawPointerField);
        section.nCharacteristics = Read32(head, header + kSectionCharacteristicsField);
        // Raw data at offset 0 would be the headers themselves: the loader maps no such
        // section from the file, and a cut after it could not say where it ends.
        if (section.nRawSize != 0 && section.nRawPointer == 0) {
            error = "section " + section.strName + " has raw data but no place in the file";
            return false;
        }
        m_sections.push_back(section);
    }
    return true;
}

uint64_t CPeImage::RawEnd() const
{
    uint64_t rawEnd = std::max<uint64_t>(m_nSizeOfHeaders, m_nSectionTable + m_sections.size() * kSectionHeaderSize);
    for (const SSection& section : m_sections) {
        if (section.nRawSize != 0)
            rawEnd = std::max(rawEnd, uint64_t(section.nRawPointer) + section.nRawSize);
    }
    return rawEnd;
}

void CPeImage::CutAtRawEnd(std::vector<uint8_t>& file) const
{
    const uint64_t rawEnd = RawEnd();
    file.resize(static_cast<size_t>(rawEnd));
    const size_t certificateEntry = m_nDirectoryTable + kCertificateDirectory * kDirectorySize;
    if (m_directories.size() > kCertificateDirectory && Read32(file, certificateEntry) >= rawEnd)
        Clear(file, certificateEntry, kDirectorySize);
    if (Read32(file, m_nCoffHeader + kCoffSymbolTableField) >= rawEnd)
        Clear(file, m_nCoffHeader + kCoffSymbolTableField, kCoffSymbolFieldsSize);
}

void CPeImage::Store(std::vector<uint8_t>& image) const
{
    uint64_t imageEnd = 0;
    for (size_t i = 0; i < m_sections.size(); ++i) {
        const SSection& section = m_sections[i];
        const size_t header = m_nSectionTable + i * kSectionHeaderSize;
        Write32(image, header + kSectionVirtualSizeField, section.nVirtualSize);
        Write32(image, header + kSectionRvaField, section.nRva);
        Write32(image, header + kSectionRawSizeField, section.nRawSize);
        Write32(image, header + kSectionRawPointerField, section.nRawPointer);
        imageEnd = std::max<uint64_t>(imageEnd, uint64_t(section.nRva) + section.Extent());
    }
    for (size_t i = 0; i < m_directories.size(); ++i) {
        const size_t entry = m_nDirectoryTable + i * kDirectorySize;
        Write32(image, entry + kDirectoryAddressField, m_directories[i].nRva);
        Write32(image, entry + kDirectorySizeField, m_directories[i].nSize);
    }
    const uint64_t alignedEnd = (imageEnd + m_nSectionAlignment - 1) / m_nSectionAlignment * m_nSectionAlignment;
    Write32(image, m_nOptionalHeader + kOptionalSizeOfImageField, static_cast<uint32_t>(alignedEnd));
    Write32(image, m_nOptionalHeader + kOptionalInitialisedDataField, m_nSizeOfInitialisedData);
    Write32(image, m_nCoffHeader + kCoffSymbolTableField, m_nSymbolTable);
}
