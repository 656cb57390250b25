#include "TestStub.h"

#include <cstring>

#include "payload/PatchBlock.h"

namespace TestStub {

namespace {

void Put(std::vector<uint8_t>& image, size_t offset, uint32_t value, size_t length)
{
    for (size_t i = 0; i < length; ++i)
        image[offset + i] = static_cast<uint8_t>(value >> (8 * i));
}

void PutSection(std::vector<uint8_t>& image, size_t header, const char* name, uint32_t rva, uint32_t raw)
{
    std::memcpy(&image[header], name, std::strlen(name));
    Put(image, header + 8, 0x200, 4);   // virtual size
    Put(image, header + 12, rva, 4);
    Put(image, header + 16, 0x200, 4);  // raw size
    Put(image, header + 20, raw, 4);
    Put(image, header + 36, 0x40000040, 4);
}

void PutPatchBlock(std::vector<uint8_t>& image, size_t at)
{
    std::memset(&image[at], ' ', PatchLayout::kSize);
    for (size_t i = 0; i < 5; ++i)
        std::memcpy(&image[at + PatchLayout::kMarkerOffsets[i]], PatchLayout::kMarkers[i], PatchLayout::kMarkerLength);
    std::memcpy(&image[at + PatchLayout::kBuildIdOffset], "00000000000000000", 18);
    Put(image, at + PatchLayout::kStreamOffsetOffset, 0, 4);
    std::memset(&image[at + PatchLayout::kSetupNameOffset], 0, PatchLayout::kSetupNameSlot);
    std::memcpy(&image[at + PatchLayout::kSetupNameOffset], "setup", 5);
    Put(image, at + PatchLayout::kRequiredBytesOffset, 0, 4);
    Put(image, at + PatchLayout::kRequiredBytesOffset + 4, 0, 4);
    Put(image, at + PatchLayout::kPictureOffsetOffset, 0, 4);
}

} // namespace

std::vector<uint8_t> Make(const SShape& shape)
{
    std::vector<uint8_t> image(kRawEnd + shape.nOverlay, 0);
    image[0] = 'M';
    image[1] = 'Z';
    Put(image, 0x3C, 0x40, 4);
    std::memcpy(&image[0x40], "PE\0\0", 4);
    const size_t coff = 0x44;
    const size_t optionalSize = shape.bPe32Plus ? 240 : 224;
    Put(image, coff, shape.bPe32Plus ? 0x8664 : 0x14C, 2);
    Put(image, coff + 2, 2, 2);
    Put(image, coff + 16, static_cast<uint32_t>(optionalSize), 2);
    Put(image, coff + 18, 0x0102, 2);
    const size_t optional = coff + 20;
    Put(image, optional, shape.bPe32Plus ? 0x20B : 0x10B, 2);
    Put(image, optional + 32, 0x1000, 4);  // section alignment
    Put(image, optional + 36, 0x200, 4);   // file alignment
    Put(image, optional + 60, 0x200, 4);   // size of headers
    Put(image, optional + 68, 2, 2);       // GUI subsystem
    const size_t directoryCount = optional + (shape.bPe32Plus ? 108 : 92);
    Put(image, directoryCount, 16, 4);
    if (shape.bCertificateEntry && shape.nOverlay > 0) {
        Put(image, directoryCount + 4 + 4 * 8, kRawEnd, 4);
        Put(image, directoryCount + 4 + 4 * 8 + 4, static_cast<uint32_t>(shape.nOverlay), 4);
    }
    const size_t sections = optional + optionalSize;
    PutSection(image, sections, ".text", 0x1000, 0x200);
    PutSection(image, sections + 40, ".rdata", 0x2000, 0x400);
    image[0x200] = 0xC3;
    if (shape.bPatchBlock)
        PutPatchBlock(image, kPatchBlockOffset);
    for (size_t i = kRawEnd; i < image.size(); ++i)
        image[i] = static_cast<uint8_t>(0xA5 ^ i);
    return image;
}

} // namespace TestStub
