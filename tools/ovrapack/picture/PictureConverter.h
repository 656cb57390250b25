#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Turns the picture a user has into the Windows bitmap file the installer carries:
// a bitmap passes unchanged, PNG and JPEG are decoded and written as 24-bit
// bottom-up bitmaps, transparent parts laid over white.
class CPictureConverter
{
public:
    enum class EFormat { Bitmap, Png, Jpeg, Unknown };

    static constexpr int kMaximumSide = 16384;

    static EFormat Identify(const std::vector<uint8_t>& picture);
    static const char* FormatName(EFormat format);

    [[nodiscard]] static bool ToBitmapFile(const std::vector<uint8_t>& picture, std::vector<uint8_t>& bitmap,
                                           std::string& error);

    // A 24-bit bitmap file of rows top first, 3 bytes (red, green, blue) a pixel.
    static std::vector<uint8_t> BitmapFile(int width, int height, const uint8_t* rgb);
};
