#include "TestIcon.h"

#include "PackTestKit.h"
#include "payload/ContainerLayout.h"

namespace TestIcon {

namespace {

void AppendBigEndian32(std::vector<uint8_t>& bytes, uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        bytes.push_back(static_cast<uint8_t>(value >> shift));
}

uint32_t RowBytes(uint32_t width, uint32_t bits)
{
    return (width * bits + 31) / 32 * 4;
}

} // namespace

std::vector<uint8_t> Image(const SImageShape& shape)
{
    std::vector<uint8_t> bytes;
    if (shape.bPng) {
        bytes = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
        AppendBigEndian32(bytes, 13);
        bytes.insert(bytes.end(), {'I', 'H', 'D', 'R'});
        AppendBigEndian32(bytes, shape.nSize);
        AppendBigEndian32(bytes, shape.nSize);
        bytes.insert(bytes.end(), {8, 6, 0, 0, 0});
        const auto rest = PackTestKit::Pattern(100 + shape.nSize, shape.nSeed);
        bytes.insert(bytes.end(), rest.begin(), rest.end());
        return bytes;
    }
    LittleEndian::AppendU32(bytes, 40);
    LittleEndian::AppendU32(bytes, shape.nSize);
    LittleEndian::AppendU32(bytes, shape.nSize * 2);
    LittleEndian::AppendU16(bytes, 1);
    LittleEndian::AppendU16(bytes, shape.nBitCount);
    for (int i = 0; i < 6; ++i)
        LittleEndian::AppendU32(bytes, 0);
    const uint32_t palette = shape.nBitCount <= 8 ? (1u << shape.nBitCount) * 4 : 0;
    const uint32_t pixels =
        palette + RowBytes(shape.nSize, shape.nBitCount) * shape.nSize + RowBytes(shape.nSize, 1) * shape.nSize;
    const auto body = PackTestKit::Pattern(pixels, shape.nSeed);
    bytes.insert(bytes.end(), body.begin(), body.end());
    return bytes;
}

std::vector<uint8_t> Make(const std::vector<SImageShape>& images)
{
    std::vector<uint8_t> file;
    LittleEndian::AppendU16(file, 0);
    LittleEndian::AppendU16(file, 1);
    LittleEndian::AppendU16(file, static_cast<uint16_t>(images.size()));
    std::vector<uint8_t> data;
    const size_t first = kHeaderSize + kEntrySize * images.size();
    for (const SImageShape& shape : images) {
        const std::vector<uint8_t> image = Image(shape);
        const auto dimension = static_cast<uint8_t>(shape.nSize == 256 ? 0 : shape.nSize);
        const auto colours = static_cast<uint8_t>(shape.nBitCount < 8 && !shape.bPng ? 1u << shape.nBitCount : 0);
        file.insert(file.end(), {dimension, dimension, colours, 0});
        LittleEndian::AppendU16(file, 1);
        LittleEndian::AppendU16(file, shape.bPng ? 32 : shape.nBitCount);
        LittleEndian::AppendU32(file, static_cast<uint32_t>(image.size()));
        LittleEndian::AppendU32(file, static_cast<uint32_t>(first + data.size()));
        data.insert(data.end(), image.begin(), image.end());
    }
    file.insert(file.end(), data.begin(), data.end());
    return file;
}

} // namespace TestIcon
