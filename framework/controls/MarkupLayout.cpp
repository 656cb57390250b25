#include "MarkupLayout.h"

#include "MarkupWalker.h"

SMarkupRendering CMarkupLayout::Lay(const std::wstring& markup, const SMarkupStyle& base, const SMarkupRect& client,
                                    ITextMeasurer& measurer)
{
    SMarkupRendering rendering;
    CMarkupWalker walker(markup, base);
    SMarkupRect layout = client;
    layout.left = 0;
    int xOffset = 0;
    std::wstring fragment;
    SMarkupStyle style;
    std::vector<SWrappedLine> pieces;
    while (walker.Next(fragment, style)) {
        measurer.SelectFont(style.font);
        const SMarkupRect before = layout;
        pieces.clear();
        xOffset = CWrappedText::Lay(measurer, fragment, layout, xOffset, pieces);
        if (pieces.empty() && !style.linkOpen)
            continue;
        const size_t index = rendering.styles.size();
        rendering.styles.push_back(style);
        if (style.linkOpen)
            rendering.linkFragments.push_back(before);
        for (SWrappedLine& piece : pieces) {
            if (style.linkOpen && !style.linkTarget.empty()) {
                const SMarkupRect area{piece.x, piece.y, piece.x + piece.size.cx, piece.y + piece.size.cy};
                rendering.links.push_back(SLinkArea{area, style.linkTarget});
            }
            rendering.lines.push_back(SMarkupRendering::SLine{std::move(piece), index});
        }
    }
    return rendering;
}
