#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// A Windows icon file (.ico): the image of every size it holds, each as stored (a
// device-independent bitmap followed by its mask, or a PNG file), with the fields of
// its directory entry that an executable's icon group repeats.
class CIconFile
{
public:
    struct SImage
    {
        uint8_t nWidth = 0;  // 0 stands for 256
        uint8_t nHeight = 0;
        uint8_t nColorCount = 0;
        uint16_t nPlanes = 0;
        uint16_t nBitCount = 0;
        std::vector<uint8_t> bytes;
    };

    static constexpr size_t kHeaderSize = 6;
    static constexpr size_t kEntrySize = 16;
    // An icon group entry names its image by a 16-bit resource identifier.
    static constexpr size_t kGroupEntrySize = 14;

    // Checks the directory and every image; an error names the image at fault.
    [[nodiscard]] static std::optional<CIconFile> Parse(const std::vector<uint8_t>& file, std::string& error);

    const std::vector<SImage>& Images() const { return m_images; }

    // The RT_GROUP_ICON resource for these images, stored as RT_ICON resources with
    // the given identifiers (one for each image, in order).
    std::vector<uint8_t> GroupResource(const std::vector<uint16_t>& imageIds) const;
    // The RT_ICON identifiers an RT_GROUP_ICON resource names; false when it is damaged.
    [[nodiscard]] static bool GroupImageIds(const std::vector<uint8_t>& group, std::vector<uint16_t>& imageIds);

private:
    std::vector<SImage> m_images;
};
