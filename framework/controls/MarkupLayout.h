#pragma once

#include "MarkupStyle.h"
#include "TextMeasurer.h"
#include "WrappedText.h"

#include <string>
#include <vector>

// A piece of a link as drawn, and where a click on it goes.
struct SLinkArea
{
    SMarkupRect rect;
    std::wstring target;
};

// Everything one paint of a markup text draws, in client coordinates.
struct SMarkupRendering
{
    struct SLine
    {
        SWrappedLine piece;
        size_t style = 0;
    };
    std::vector<SMarkupStyle> styles;
    std::vector<SLine> lines;
    std::vector<SLinkArea> links;
    // The layout rectangle each link fragment started in: the focus rectangle goes there.
    std::vector<SMarkupRect> linkFragments;
};

// Lays a whole markup text out in a rectangle: the tags choose the style of each
// fragment, the fragments flow one after another with word wrap.
class CMarkupLayout
{
public:
    static SMarkupRendering Lay(const std::wstring& markup, const SMarkupStyle& base, const SMarkupRect& client,
                                ITextMeasurer& measurer);
};
