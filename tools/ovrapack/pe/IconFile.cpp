#include "IconFile.h"

#include <algorithm>
#include <cstring>

#include "payload/ContainerLayout.h"

namespace {

constexpr uint16_t kIconType = 1;
constexpr uint16_t kCursorType = 2;
constexpr uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr size_t kPngHeaderEnd = 24;  // signature, IHDR length and type, width, height
constexpr size_t kBitmapInfoHeaderSize = 40;
constexpr uint32_t kUncompressed = 0;

uint32_t ReadBigEndian32(const uint8_t* p)
{
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3];
}

uint32_t Dimension(uint8_t stored)
{
    return stored == 0 ? 256 : stored;
}

uint64_t RowBytes(uint64_t width, uint64_t bitsPerPixel)
{
    return (width * bitsPerPixel + 31) / 32 * 4;
}

bool IsPng(const std::vector<uint8_t>& image)
{
    return image.size() >= sizeof(kPngSignature) && std::memcmp(image.data(), kPngSignature, sizeof(kPngSignature)) == 0;
}

bool CheckPng(CIconFile::SImage& image, std::string& error)
{
    const std::vector<uint8_t>& bytes = image.bytes;
    if (bytes.size() < kPngHeaderEnd || std::memcmp(bytes.data() + 12, "IHDR", 4) != 0) {
        error = "a PNG image without its header";
        return false;
    }
    const uint32_t width = ReadBigEndian32(bytes.data() + 16);
    const uint32_t height = ReadBigEndian32(bytes.data() + 20);
    if (width != Dimension(image.nWidth) || height != Dimension(image.nHeight)) {
        error = "the PNG image is " + std::to_string(width) + "x" + std::to_string(height) +
                ", its directory entry says otherwise";
        return false;
    }
    if (image.nBitCount == 0)
        image.nBitCount = 32;
    return true;
}

bool CheckBitmap(CIconFile::SImage& image, std::string& error)
{
    const std::vector<uint8_t>& bytes = image.bytes;
    const uint8_t* p = bytes.data();
    if (bytes.size() < kBitmapInfoHeaderSize || LittleEndian::ReadU32(p) < kBitmapInfoHeaderSize ||
        LittleEndian::ReadU32(p) > bytes.size()) {
        error = "neither a bitmap nor a PNG image";
        return false;
    }
    const uint64_t headerSize = LittleEndian::ReadU32(p);
    const auto width = static_cast<int32_t>(LittleEndian::ReadU32(p + 4));
    const auto height = static_cast<int32_t>(LittleEndian::ReadU32(p + 8));
    const uint16_t planes = LittleEndian::ReadU16(p + 12);
    const uint16_t bitCount = LittleEndian::ReadU16(p + 14);
    const uint32_t compression = LittleEndian::ReadU32(p + 16);
    const uint32_t coloursUsed = LittleEndian::ReadU32(p + 32);
    const int64_t entryWidth = Dimension(image.nWidth);
    const int64_t entryHeight = Dimension(image.nHeight);
    // The bitmap's height counts the colour image and the mask below it.
    if (width != entryWidth || height != 2 * entryHeight) {
        error = "the bitmap is " + std::to_string(width) + "x" + std::to_string(height / 2) +
                ", its directory entry says otherwise";
        return false;
    }
    const bool knownDepth = bitCount == 1 || bitCount == 4 || bitCount == 8 || bitCount == 16 || bitCount == 24 ||
                            bitCount == 32;
    if (planes != 1 || !knownDepth || compression != kUncompressed) {
        error = "the bitmap is not an uncompressed single-plane image of 1 to 32 bits per pixel";
        return false;
    }
    const uint64_t paletteLimit = bitCount <= 8 ? (1u << bitCount) : 256;
    if (coloursUsed > paletteLimit) {
        error = "the bitmap's palette is too large";
        return false;
    }
    const uint64_t palette = coloursUsed != 0 ? coloursUsed : (bitCount <= 8 ? (1u << bitCount) : 0);
    const uint64_t needed = headerSize + palette * 4 + RowBytes(uint64_t(entryWidth), bitCount) * uint64_t(entryHeight) +
                            RowBytes(uint64_t(entryWidth), 1) * uint64_t(entryHeight);
    if (needed > bytes.size()) {
        error = "the bitmap is cut short (" + std::to_string(bytes.size()) + " of " + std::to_string(needed) +
                " bytes)";
        return false;
    }
    if (image.nBitCount == 0)
        image.nBitCount = bitCount;
    return true;
}

} // namespace

std::optional<CIconFile> CIconFile::Parse(const std::vector<uint8_t>& file, std::string& error)
{
    const uint8_t* p = file.data();
    if (file.size() < kHeaderSize || LittleEndian::ReadU16(p) != 0 ||
        (LittleEndian::ReadU16(p + 2) != kIconType && LittleEndian::ReadU16(p + 2) != kCursorType)) {
        error = "not an icon file";
        return std::nullopt;
    }
    if (LittleEndian::ReadU16(p + 2) == kCursorType) {
        error = "a cursor file, not an icon";
        return std::nullopt;
    }
    const size_t count = LittleEndian::ReadU16(p + 4);
    if (count == 0) {
        error = "the icon file holds no image";
        return std::nullopt;
    }
    const size_t directoryEnd = kHeaderSize + count * kEntrySize;
    if (directoryEnd > file.size()) {
        error = "the icon file's directory is cut short";
        return std::nullopt;
    }
    CIconFile icon;
    for (size_t i = 0; i < count; ++i) {
        const uint8_t* entry = p + kHeaderSize + i * kEntrySize;
        SImage image;
        image.nWidth = entry[0];
        image.nHeight = entry[1];
        image.nColorCount = entry[2];
        image.nPlanes = std::max<uint16_t>(LittleEndian::ReadU16(entry + 4), 1);
        image.nBitCount = LittleEndian::ReadU16(entry + 6);
        const uint64_t size = LittleEndian::ReadU32(entry + 8);
        const uint64_t offset = LittleEndian::ReadU32(entry + 12);
        const std::string which = "icon image " + std::to_string(i + 1) + " of " + std::to_string(count) + " (" +
                                  std::to_string(Dimension(image.nWidth)) + "x" +
                                  std::to_string(Dimension(image.nHeight)) + "): ";
        if (offset < directoryEnd || size == 0 || offset + size > file.size()) {
            error = which + "its bytes lie outside the file";
            return std::nullopt;
        }
        image.bytes.assign(file.begin() + static_cast<std::ptrdiff_t>(offset),
                           file.begin() + static_cast<std::ptrdiff_t>(offset + size));
        if (!(IsPng(image.bytes) ? CheckPng(image, error) : CheckBitmap(image, error))) {
            error = which + error;
            return std::nullopt;
        }
        icon.m_images.push_back(std::move(image));
    }
    return icon;
}

std::vector<uint8_t> CIconFile::GroupResource(const std::vector<uint16_t>& imageIds) const
{
    std::vector<uint8_t> group;
    LittleEndian::AppendU16(group, 0);
    LittleEndian::AppendU16(group, kIconType);
    LittleEndian::AppendU16(group, static_cast<uint16_t>(m_images.size()));
    for (size_t i = 0; i < m_images.size(); ++i) {
        const SImage& image = m_images[i];
        group.insert(group.end(), {image.nWidth, image.nHeight, image.nColorCount, 0});
        LittleEndian::AppendU16(group, image.nPlanes);
        LittleEndian::AppendU16(group, image.nBitCount);
        LittleEndian::AppendU32(group, static_cast<uint32_t>(image.bytes.size()));
        LittleEndian::AppendU16(group, imageIds.at(i));
    }
    return group;
}

bool CIconFile::GroupImageIds(const std::vector<uint8_t>& group, std::vector<uint16_t>& imageIds)
{
    imageIds.clear();
    if (group.size() < kHeaderSize || LittleEndian::ReadU16(group.data() + 2) != kIconType)
        return false;
    const size_t count = LittleEndian::ReadU16(group.data() + 4);
    if (group.size() < kHeaderSize + count * kGroupEntrySize)
        return false;
    for (size_t i = 0; i < count; ++i)
        imageIds.push_back(LittleEndian::ReadU16(group.data() + kHeaderSize + i * kGroupEntrySize + 12));
    return true;
}
