#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Icon files for the branding tests: bitmap images with their masks, filled with a
// seeded pattern, and stand-ins for PNG images that carry a real PNG header.
namespace TestIcon {

struct SImageShape
{
    uint32_t nSize = 32;  // width and height, 1 to 256
    uint16_t nBitCount = 32;
    bool bPng = false;
    uint32_t nSeed = 1;
};

std::vector<uint8_t> Image(const SImageShape& shape);
// An .ico file: header, directory, then the images in order.
std::vector<uint8_t> Make(const std::vector<SImageShape>& images);

constexpr size_t kHeaderSize = 6;
constexpr size_t kEntrySize = 16;

} // namespace TestIcon
