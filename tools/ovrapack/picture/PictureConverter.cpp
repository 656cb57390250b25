#include "PictureConverter.h"

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <memory>

#include <stb/stb_image.h>


namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr size_t kInfoHeaderSize = 40;
constexpr uint32_t kPixelsPerMetre = 2835;  // 72 dots per inch
constexpr int kRgba = 4;

struct SStbFree
{
    void operator()(stbi_uc* pixels) const { stbi_image_free(pixels); }
};

bool StartsWith(const std::vector<uint8_t>& bytes, std::initializer_list<uint8_t> prefix)
{
    return bytes.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), bytes.begin());
}

void Put16(std::vector<uint8_t>& out, size_t at, uint32_t value)
{
    out[at] = static_cast<uint8_t>(value);
    out[at + 1] = static_cast<uint8_t>(value >> 8);
}

void Put32(std::vector<uint8_t>& out, size_t at, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        out[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

// Over white: what a transparent corner of a banner is expected to look like.
uint8_t OverWhite(uint8_t colour, uint8_t alpha)
{
    return static_cast<uint8_t>((colour * alpha + 255 * (255 - alpha) + 127) / 255);
}

} // namespace

CPictureConverter::EFormat CPictureConverter::Identify(const std::vector<uint8_t>& picture)
{
    if (StartsWith(picture, {'B', 'M'}))
        return EFormat::Bitmap;
    if (StartsWith(picture, {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A}))
        return EFormat::Png;
    if (StartsWith(picture, {0xFF, 0xD8, 0xFF}))
        return EFormat::Jpeg;
    return EFormat::Unknown;
}

const char* CPictureConverter::FormatName(EFormat format)
{
    switch (format) {
    case EFormat::Bitmap: return "bitmap";
    case EFormat::Png: return "PNG";
    case EFormat::Jpeg: return "JPEG";
    case EFormat::Unknown: break;
    }
    return "unknown";
}

bool CPictureConverter::ToBitmapFile(const std::vector<uint8_t>& picture, std::vector<uint8_t>& bitmap,
                                     std::string& error)
{
    const EFormat format = Identify(picture);
    if (format == EFormat::Bitmap) {
        bitmap = picture;
        return true;
    }
    if (format == EFormat::Unknown) {
        error = "not a Windows bitmap, PNG or JPEG file";
        return false;
    }
    const std::string name = FormatName(format);
    if (picture.size() > static_cast<size_t>(INT32_MAX)) {
        error = "the " + name + " file is too large";
        return false;
    }
    int width = 0;
    int height = 0;
    int channels = 0;
    if (!stbi_info_from_memory(picture.data(), static_cast<int>(picture.size()), &width, &height, &channels)) {
        error = "cannot read the " + name + " picture (" + stbi_failure_reason() + ")";
        return false;
    }
    if (width > kMaximumSide || height > kMaximumSide) {
        error = "the " + name + " picture is " + std::to_string(width) + " x " + std::to_string(height) +
                " pixels; at most " + std::to_string(kMaximumSide) + " a side are accepted";
        return false;
    }
    const std::unique_ptr<stbi_uc, SStbFree> pixels(
        stbi_load_from_memory(picture.data(), static_cast<int>(picture.size()), &width, &height, &channels, kRgba));
    if (!pixels) {
        error = "cannot decode the " + name + " picture (" + stbi_failure_reason() + ")";
        return false;
    }
    const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
    std::vector<uint8_t> rgb(count * 3);
    for (size_t i = 0; i < count; ++i) {
        const stbi_uc* pixel = pixels.get() + i * kRgba;
        for (int c = 0; c < 3; ++c)
            rgb[i * 3 + c] = OverWhite(pixel[c], pixel[3]);
    }
    bitmap = BitmapFile(width, height, rgb.data());
    return true;
}

std::vector<uint8_t> CPictureConverter::BitmapFile(int width, int height, const uint8_t* rgb)
{
    const size_t rowSize = (static_cast<size_t>(width) * 3 + 3) & ~static_cast<size_t>(3);
    const size_t imageSize = rowSize * static_cast<size_t>(height);
    const size_t headers = kFileHeaderSize + kInfoHeaderSize;
    std::vector<uint8_t> file(headers + imageSize, 0);
    file[0] = 'B';
    file[1] = 'M';
    Put32(file, 2, static_cast<uint32_t>(file.size()));
    Put32(file, 10, static_cast<uint32_t>(headers));
    Put32(file, 14, static_cast<uint32_t>(kInfoHeaderSize));
    Put32(file, 18, static_cast<uint32_t>(width));
    Put32(file, 22, static_cast<uint32_t>(height));  // positive: the last row comes first
    Put16(file, 26, 1);
    Put16(file, 28, 24);
    Put32(file, 34, static_cast<uint32_t>(imageSize));
    Put32(file, 38, kPixelsPerMetre);
    Put32(file, 42, kPixelsPerMetre);
    for (int y = 0; y < height; ++y) {
        const uint8_t* source = rgb + static_cast<size_t>(y) * static_cast<size_t>(width) * 3;
        uint8_t* target = file.data() + headers + rowSize * static_cast<size_t>(height - 1 - y);
        for (int x = 0; x < width; ++x) {
            target[x * 3] = source[x * 3 + 2];
            target[x * 3 + 1] = source[x * 3 + 1];
            target[x * 3 + 2] = source[x * 3];
        }
    }
    return file;
}
