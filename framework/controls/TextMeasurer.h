#pragma once

#include "MarkupStyle.h"

#include <string_view>

// Measures text the way the device that draws it will; the layout selects the font
// of each fragment before measuring its lines.
class ITextMeasurer
{
public:
    virtual ~ITextMeasurer() = default;
    virtual void SelectFont(const SMarkupFont& font) = 0;
    virtual SMarkupSize Measure(std::wstring_view text) = 0;
};
