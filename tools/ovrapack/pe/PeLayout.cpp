#include "PeLayout.h"

#include <algorithm>
#include <cstring>

#include "payload/ContainerLayout.h"

namespace {

constexpr size_t kSignatureSize = 4;
constexpr size_t kCoffHeaderSize = 20;
constexpr size_t kSectionHeaderSize = 40;
constexpr size_t kDirectorySize = 8;
constexpr size_t kNameSize = 8;
constexpr uint16_t kMagicPe32 = 0x10B;
constexpr uint16_t kMagicPe32Plus = 0x20B;

bool IsPowerOfTwo(uint32_t value)
{
    return value != 0 && (value & (value - 1)) == 0;
}

} // namespace

std::optional<CPeLayout> CPeLayout::Parse(const std::vector<uint8_t>& image, std::string& error)
{
    const uint8_t* p = image.data();
    if (image.size() < 64 || p[0] != 'M' || p[1] != 'Z') {
        error = "not a Windows executable (no MZ header)";
        return std::nullopt;
    }
    const size_t pe = LittleEndian::ReadU32(p + 0x3C);
    if (pe > image.size() || image.size() - pe < kSignatureSize + kCoffHeaderSize ||
        LittleEndian::ReadU32(p + pe) != 0x00004550) {
        error = "not a PE executable (no PE signature)";
        return std::nullopt;
    }
    CPeLayout layout;
    layout.m_nCoffHeader = pe + kSignatureSize;
    layout.m_nOptionalHeader = layout.m_nCoffHeader + kCoffHeaderSize;
    const size_t sectionCount = LittleEndian::ReadU16(p + layout.m_nCoffHeader + 2);
    const size_t optionalSize = LittleEndian::ReadU16(p + layout.m_nCoffHeader + 16);
    layout.m_nSectionTable = layout.m_nOptionalHeader + optionalSize;
    if (layout.m_nSectionTable + sectionCount * kSectionHeaderSize > image.size() || optionalSize < 2) {
        error = "PE headers are truncated";
        return std::nullopt;
    }
    const uint8_t* optional = p + layout.m_nOptionalHeader;
    const uint16_t magic = LittleEndian::ReadU16(optional);
    if (magic != kMagicPe32 && magic != kMagicPe32Plus) {
        error = "unknown PE optional-header magic";
        return std::nullopt;
    }
    const size_t countField = magic == kMagicPe32Plus ? 108 : 92;
    if (optionalSize < countField + 4) {
        error = "PE optional header is too short";
        return std::nullopt;
    }
    layout.m_nDirectoryTable = layout.m_nOptionalHeader + countField + 4;
    const size_t directoryCount =
        std::min<size_t>(LittleEndian::ReadU32(optional + countField), (optionalSize - countField - 4) / kDirectorySize);
    for (size_t i = 0; i < directoryCount; ++i) {
        const uint8_t* entry = p + layout.m_nDirectoryTable + i * kDirectorySize;
        layout.m_directories.push_back({LittleEndian::ReadU32(entry), LittleEndian::ReadU32(entry + 4)});
    }
    layout.m_nSizeOfInitialisedData = LittleEndian::ReadU32(optional + 8);
    layout.m_nSectionAlignment = LittleEndian::ReadU32(optional + 32);
    layout.m_nFileAlignment = LittleEndian::ReadU32(optional + 36);
    if (!IsPowerOfTwo(layout.m_nSectionAlignment) || !IsPowerOfTwo(layout.m_nFileAlignment)) {
        error = "PE section or file alignment is not a power of two";
        return std::nullopt;
    }
    layout.m_nSymbolTable = LittleEndian::ReadU32(p + layout.m_nCoffHeader + 8);
    for (size_t i = 0; i < sectionCount; ++i) {
        const uint8_t* header = p + layout.m_nSectionTable + i * kSectionHeaderSize;
        SSection section;
        section.strName.assign(reinterpret_cast<const char*>(header), strnlen(reinterpret_cast<const char*>(header), kNameSize));
        section.nVirtualSize = LittleEndian::ReadU32(header + 8);
        section.nRva = LittleEndian::ReadU32(header + 12);
        section.nRawSize = LittleEndian::ReadU32(header + 16);
        section.nRawPointer = LittleEndian::ReadU32(header + 20);
        section.nCharacteristics = LittleEndian::ReadU32(header + 36);
        if (section.nRawSize != 0 && uint64_t(section.nRawPointer) + section.nRawSize > image.size()) {
            error = "section " + section.strName + " lies beyond the end of the file";
            return std::nullopt;
        }
        layout.m_sections.push_back(section);
    }
    return layout;
}

void CPeLayout::Store(std::vector<uint8_t>& image) const
{
    uint8_t* p = image.data();
    uint64_t imageEnd = 0;
    for (size_t i = 0; i < m_sections.size(); ++i) {
        const SSection& section = m_sections[i];
        uint8_t* header = p + m_nSectionTable + i * kSectionHeaderSize;
        LittleEndian::WriteU32(header + 8, section.nVirtualSize);
        LittleEndian::WriteU32(header + 12, section.nRva);
        LittleEndian::WriteU32(header + 16, section.nRawSize);
        LittleEndian::WriteU32(header + 20, section.nRawPointer);
        imageEnd = std::max<uint64_t>(imageEnd, uint64_t(section.nRva) + section.Extent());
    }
    for (size_t i = 0; i < m_directories.size(); ++i) {
        LittleEndian::WriteU32(p + m_nDirectoryTable + i * kDirectorySize, m_directories[i].nRva);
        LittleEndian::WriteU32(p + m_nDirectoryTable + i * kDirectorySize + 4, m_directories[i].nSize);
    }
    const uint64_t alignedEnd = (imageEnd + m_nSectionAlignment - 1) / m_nSectionAlignment * m_nSectionAlignment;
    LittleEndian::WriteU32(p + m_nOptionalHeader + 56, static_cast<uint32_t>(alignedEnd));
    LittleEndian::WriteU32(p + m_nOptionalHeader + 8, m_nSizeOfInitialisedData);
    LittleEndian::WriteU32(p + m_nCoffHeader + 8, m_nSymbolTable);
}
