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
    // Which link of the markup the piece belongs to, counted from 1.
    int link = 0;
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
    // The layout rectangle each link fragment started in.
    std::vector<SMarkupRect> linkFragments;
    // Around every piece of the first link, the one the keyboard opens, a pixel outside
    // its text and inside the client; empty without a link.
    SMarkupRect focusRect;
};

// Lays a whole markup text out in a rectangle: the tags choose the style of each
// fragment, the fragments flow one after another with word wrap.
class CMarkupLayout
{
public:
    static SMarkupRendering Lay(const std::wstring& markup, const SMarkupStyle& base, const SMarkupRect& client,
                                ITextMeasurer& measurer);
};
