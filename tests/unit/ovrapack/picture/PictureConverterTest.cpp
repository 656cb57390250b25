#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#include <stb/stb_image_write.h>

#include "payload/ContainerLayout.h"
#include "tools/ovrapack/picture/PictureConverter.h"

namespace {

// Top half red, bottom half blue, the left column half transparent in RGBA pictures.
std::vector<uint8_t> Pixels(int width, int height, int channels)
{
    std::vector<uint8_t> pixels;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const bool top = y < height / 2;
            pixels.push_back(top ? 200 : 0);
            pixels.push_back(0);
            pixels.push_back(top ? 0 : 200);
            if (channels == 4)
                pixels.push_back(x == 0 ? 0 : 255);
        }
    }
    return pixels;
}

void Collect(void* context, void* data, int size)
{
    auto* out = static_cast<std::vector<uint8_t>*>(context);
    const auto* bytes = static_cast<const uint8_t*>(data);
    out->insert(out->end(), bytes, bytes + size);
}

std::vector<uint8_t> Png(int width, int height, int channels)
{
    std::vector<uint8_t> file;
    const auto pixels = Pixels(width, height, channels);
    EXPECT_NE(stbi_write_png_to_func(Collect, &file, width, height, channels, pixels.data(), width * channels), 0);
    return file;
}

std::vector<uint8_t> Jpeg(int width, int height)
{
    std::vector<uint8_t> file;
    const auto pixels = Pixels(width, height, 3);
    EXPECT_NE(stbi_write_jpg_to_func(Collect, &file, width, height, 3, pixels.data(), 95), 0);
    return file;
}

struct SBitmap
{
    std::vector<uint8_t> file;

    uint32_t U32(size_t at) const { return LittleEndian::ReadU32(file.data() + at); }
    // Red, green, blue of a pixel counted from the top.
    std::array<int, 3> Pixel(int x, int y) const
    {
        const int width = static_cast<int>(U32(18));
        const int height = static_cast<int>(U32(22));
        const size_t row = (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
        const uint8_t* p = file.data() + U32(10) + row * static_cast<size_t>(height - 1 - y) + static_cast<size_t>(x) * 3;
        return {p[2], p[1], p[0]};
    }
};

SBitmap Convert(const std::vector<uint8_t>& picture)
{
    SBitmap bitmap;
    std::string error;
    EXPECT_TRUE(CPictureConverter::ToBitmapFile(picture, bitmap.file, error)) << error;
    return bitmap;
}

} // namespace

TEST(PictureConverter, PngBecomesA24BitBottomUpBitmapWithTransparencyOverWhite)
{
    const SBitmap bitmap = Convert(Png(7, 6, 4));  // 7 pixels: rows padded to 24 bytes
    ASSERT_EQ(bitmap.file.size(), 54u + 24u * 6u);
    EXPECT_EQ(bitmap.file[0], 'B');
    EXPECT_EQ(bitmap.file[1], 'M');
    EXPECT_EQ(bitmap.U32(2), bitmap.file.size());
    EXPECT_EQ(bitmap.U32(10), 54u);
    EXPECT_EQ(bitmap.U32(14), 40u);
    EXPECT_EQ(bitmap.U32(18), 7u);
    EXPECT_EQ(bitmap.U32(22), 6u);
    EXPECT_EQ(bitmap.file[28], 24);  // bits per pixel
    EXPECT_EQ(bitmap.U32(30), 0u);   // no compression
    EXPECT_EQ(bitmap.Pixel(3, 0), (std::array<int, 3>{200, 0, 0}));
    EXPECT_EQ(bitmap.Pixel(3, 5), (std::array<int, 3>{0, 0, 200}));
    EXPECT_EQ(bitmap.Pixel(0, 0), (std::array<int, 3>{255, 255, 255}));
}

TEST(PictureConverter, JpegKeepsItsColoursAndOrientation)
{
    const SBitmap bitmap = Convert(Jpeg(32, 32));
    EXPECT_EQ(bitmap.U32(18), 32u);
    EXPECT_EQ(bitmap.U32(22), 32u);
    const auto top = bitmap.Pixel(16, 4);
    const auto bottom = bitmap.Pixel(16, 28);
    EXPECT_GT(top[0], 170);
    EXPECT_LT(top[2], 40);
    EXPECT_GT(bottom[2], 170);
    EXPECT_LT(bottom[0], 40);
}

TEST(PictureConverter, BitmapsPassUnchangedAndOtherFilesAreRefused)
{
    const std::vector<uint8_t> bmp = {'B', 'M', 1, 2, 3};
    std::vector<uint8_t> out;
    std::string error;
    ASSERT_TRUE(CPictureConverter::ToBitmapFile(bmp, out, error));
    EXPECT_EQ(out, bmp);

    EXPECT_FALSE(CPictureConverter::ToBitmapFile({'G', 'I', 'F', '8', '9', 'a'}, out, error));
    EXPECT_NE(error.find("not a Windows bitmap, PNG or JPEG"), std::string::npos) << error;

    auto truncated = Png(40, 40, 3);
    truncated.resize(truncated.size() / 2);
    EXPECT_FALSE(CPictureConverter::ToBitmapFile(truncated, out, error));
    EXPECT_NE(error.find("PNG"), std::string::npos) << error;

    auto broken = Jpeg(16, 16);
    std::fill(broken.begin() + 3, broken.end(), 0);
    EXPECT_FALSE(CPictureConverter::ToBitmapFile(broken, out, error));
    EXPECT_NE(error.find("JPEG"), std::string::npos) << error;
}
