#include "PeImage.h"

#include <algorithm>

#include "payload/ContainerLayout.h"

namespace {

constexpr size_t kSignatureSize = 4;
constexpr size_t kCoffHeaderSize = 20;
constexpr size_t kSectionHeaderSize = 40;
constexpr uint16_t kMagicPe32 = 0x10B;
constexpr uint16_t kMagicPe32Plus = 0x20B;
constexpr size_t kCertificateDirectory = 4;
// SizeOfHeaders is the optional header's field at 60, in both forms.
constexpr size_t kSizeOfHeadersEnd = 64;

uint16_t Read16(const std::vector<uint8_t>& file, size_t offset)
{
    return LittleEndian::ReadU16(file.data() + offset);
}

uint32_t Read32(const std::vector<uint8_t>& file, size_t offset)
{
    return LittleEndian::ReadU32(file.data() + offset);
}

void Clear(std::vector<uint8_t>& file, size_t offset, size_t length)
{
    std::fill_n(file.begin() + static_cast<std::ptrdiff_t>(offset), length, uint8_t(0));
}

} // namespace

std::optional<CPeImage> CPeImage::Parse(const std::vector<uint8_t>& file, uint64_t fileSize, std::string& error)
{
    if (file.size() < 64 || file[0] != 'M' || file[1] != 'Z') {
        error = "not a Windows executable (no MZ header)";
        return std::nullopt;
    }
    const size_t pe = Read32(file, 0x3C);
    if (pe > file.size() || file.size() - pe < kSignatureSize + kCoffHeaderSize ||
        Read32(file, pe) != 0x00004550) {
        error = "not a PE executable (no PE signature)";
        return std::nullopt;
    }
    CPeImage image;
    image.m_nCoffHeader = pe + kSignatureSize;
    const size_t sectionCount = Read16(file, image.m_nCoffHeader + 2);
    const size_t optionalSize = Read16(file, image.m_nCoffHeader + 16);
    const size_t optional = image.m_nCoffHeader + kCoffHeaderSize;
    const size_t sections = optional + optionalSize;
    // Every image the system loads has the optional header's fields up to SizeOfHeaders;
    // without them the headers' end is unknown, and a cut there could fall inside the
    // DOS header.
    if (optionalSize < kSizeOfHeadersEnd || sections + sectionCount * kSectionHeaderSize > file.size()) {
        error = "PE headers are truncated";
        return std::nullopt;
    }
    const uint16_t magic = Read16(file, optional);
    if (magic != kMagicPe32 && magic != kMagicPe32Plus) {
        error = "unknown PE optional-header magic";
        return std::nullopt;
    }
    image.m_bPe32Plus = magic == kMagicPe32Plus;
    const size_t countField = optional + (image.m_bPe32Plus ? 108 : 92);
    const size_t directories = countField + 4;
    if (countField + 4 <= sections && Read32(file, countField) > kCertificateDirectory &&
        directories + (kCertificateDirectory + 1) * 8 <= sections)
        image.m_nCertificateEntry = directories + kCertificateDirectory * 8;

    uint64_t rawEnd = Read32(file, optional + kSizeOfHeadersEnd - 4);
    rawEnd = std::max<uint64_t>(rawEnd, sections + sectionCount * kSectionHeaderSize);
    for (size_t i = 0; i < sectionCount; ++i) {
        const size_t header = sections + i * kSectionHeaderSize;
        const uint64_t rawSize = Read32(file, header + 16);
        const uint64_t rawPointer = Read32(file, header + 20);
        if (rawSize != 0 && rawPointer != 0)
            rawEnd = std::max(rawEnd, rawPointer + rawSize);
    }
    if (rawEnd > fileSize) {
        error = "executable is truncated: its sections end at " + std::to_string(rawEnd) + " but the file has " +
                std::to_string(fileSize) + " bytes";
        return std::nullopt;
    }
    image.m_nRawEnd = rawEnd;
    return image;
}

void CPeImage::CutAtRawEnd(std::vector<uint8_t>& file) const
{
    file.resize(static_cast<size_t>(m_nRawEnd));
    if (m_nCertificateEntry != 0 && Read32(file, m_nCertificateEntry) >= m_nRawEnd)
        Clear(file, m_nCertificateEntry, 8);
    if (Read32(file, m_nCoffHeader + 8) >= m_nRawEnd)
        Clear(file, m_nCoffHeader + 8, 8);
}
