#pragma once

#include "ColorRef.h"

#include <string>

// The colour a markup colour text stands for: "r,g,b" in decimal, "#RRGGBB", or one
// of the 140 HTML colour names in any letter case. Unreadable text gives black.
class CXNamedColors
{
public:
    explicit CXNamedColors(const std::wstring& text);
    virtual ~CXNamedColors();

    ColorRef GetRGB() const { return m_color; }

    struct SNamedColor
    {
        ColorRef color;
        const wchar_t* name;
    };
    static constexpr int kNameCount = 140;
    // In alphabetical order of the names.
    static const SNamedColor kNames[kNameCount];

private:
    static ColorRef FromTriple(const std::wstring& text);
    static ColorRef FromHash(const std::wstring& text);
    static ColorRef FromName(const std::wstring& text);

    ColorRef m_color;
};
