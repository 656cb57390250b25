#include "PictureRegion.h"

namespace PictureRegion {

std::optional<uint32_t> Length(uint32_t pictureOffset, uint32_t streamOffset, uint64_t fileSize)
{
    if (pictureOffset == 0 || pictureOffset >= streamOffset)
        return std::nullopt;
    const uint32_t length = streamOffset - pictureOffset;
    if (pictureOffset >= fileSize || length > fileSize)
        return std::nullopt;
    return length;
}

} // namespace PictureRegion
