#pragma once

#include <cstdint>
#include <optional>

// Where the background picture lies in the executable: from patch field 5 up to the
// stream offset of field 2. Portable, so the bounds are tested natively.
namespace PictureRegion {
// The picture's length, or nothing when there is no usable picture: field 5 is 0,
// not below field 2, or the region claims more bytes than the whole file holds
// (which would only make the reader allocate for nothing).
std::optional<uint32_t> Length(uint32_t pictureOffset, uint32_t streamOffset, uint64_t fileSize);
} // namespace PictureRegion
