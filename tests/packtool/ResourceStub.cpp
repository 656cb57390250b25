#include "ResourceStub.h"

#include <cstring>

#include "TestStub.h"
#include "payload/ContainerLayout.h"

namespace ResourceStub {

namespace {

constexpr size_t kSectionCountField = 0x46;
constexpr uint32_t kFileAlignment = 0x200;
constexpr uint32_t kSectionAlignment = 0x1000;

uint32_t AlignUp(size_t value, uint32_t alignment)
{
    return static_cast<uint32_t>((value + alignment - 1) / alignment * alignment);
}

void PutSection(std::vector<uint8_t>& image, size_t index, const char* name, uint32_t virtualSize, uint32_t rva,
                uint32_t rawSize, uint32_t raw, uint32_t characteristics)
{
    uint8_t* header = image.data() + kSectionTable + index * kSectionHeaderSize;
    std::memcpy(header, name, std::strlen(name));
    LittleEndian::WriteU32(header + 8, virtualSize);
    LittleEndian::WriteU32(header + 12, rva);
    LittleEndian::WriteU32(header + 16, rawSize);
    LittleEndian::WriteU32(header + 20, raw);
    LittleEndian::WriteU32(header + 36, characteristics);
}

void PutDirectory(std::vector<uint8_t>& image, size_t index, uint32_t rva, uint32_t size)
{
    LittleEndian::WriteU32(image.data() + kDirectoryTable + 8 * index, rva);
    LittleEndian::WriteU32(image.data() + kDirectoryTable + 8 * index + 4, size);
}

} // namespace

std::vector<uint8_t> Make(const std::vector<uint8_t>& section, ETrailer trailer)
{
    std::vector<uint8_t> image = TestStub::Make({});
    image.resize(kResourceRaw, 0);
    const uint32_t rawSize = AlignUp(section.size(), kFileAlignment);
    image.insert(image.end(), section.begin(), section.end());
    image.resize(kResourceRaw + rawSize, 0);
    PutSection(image, 2, ".rsrc", static_cast<uint32_t>(section.size()), kResourceRva, rawSize, kResourceRaw,
               0x40000040);
    PutDirectory(image, 2, kResourceRva, static_cast<uint32_t>(section.size()));
    uint32_t end = kResourceRva + AlignUp(section.size(), kSectionAlignment);
    if (trailer != ETrailer::None) {
        const auto raw = static_cast<uint32_t>(image.size());
        const bool relocations = trailer == ETrailer::Relocations;
        PutSection(image, 3, relocations ? ".reloc" : ".tls", kRelocationBlockSize, end, kFileAlignment, raw,
                   relocations ? 0x42000040 : 0xC0000040);
        image.resize(raw + kFileAlignment, 0);
        // One block for the page at 0x1000: a 32-bit address at 0x1010, then padding.
        LittleEndian::WriteU32(&image[raw], 0x1000);
        LittleEndian::WriteU32(&image[raw + 4], kRelocationBlockSize);
        LittleEndian::WriteU16(&image[raw + 8], 0x3010);
        if (relocations)
            PutDirectory(image, 5, end, kRelocationBlockSize);
        end += kSectionAlignment;
    }
    LittleEndian::WriteU16(&image[kSectionCountField], trailer == ETrailer::None ? 3 : 4);
    LittleEndian::WriteU32(&image[kSizeOfImage], end);
    return image;
}

} // namespace ResourceStub
