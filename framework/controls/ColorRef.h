#pragma once

#include <cstdint>

// A Windows colour value without windows.h: red in the low byte, then green, then blue.
using ColorRef = std::uint32_t;

constexpr ColorRef MakeColorRef(unsigned red, unsigned green, unsigned blue)
{
    return static_cast<ColorRef>((red & 0xFFu) | ((green & 0xFFu) << 8) | ((blue & 0xFFu) << 16));
}
