#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Reads the picture bytes appended to an executable. A short read leaves the rest of
// the buffer zero; an empty result means there is no picture to decode.
std::vector<uint8_t> ReadAppendedPicture(const std::wstring& path, uint32_t pictureOffset, uint32_t streamOffset);
