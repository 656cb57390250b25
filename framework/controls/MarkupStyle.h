#pragma once

#include "ColorRef.h"

#include <string>

// The parts of a font description the markup changes; the control keeps the rest
// of its window font's description.
struct SMarkupFont
{
    std::wstring face;
    int height = 0;
    int weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;

    bool operator==(const SMarkupFont&) const = default;
};

// How one text fragment of the markup is drawn.
struct SMarkupStyle
{
    SMarkupFont font;
    ColorRef textColor = 0;
    ColorRef backColor = 0;
    bool linkOpen = false;
    std::wstring linkTarget;
    // Which link of the markup the fragment belongs to, counted from 1.
    int link = 0;
};

struct SMarkupSize
{
    int cx = 0;
    int cy = 0;
};

struct SMarkupRect
{
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    bool operator==(const SMarkupRect&) const = default;
};
