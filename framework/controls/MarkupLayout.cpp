#include "MarkupLayout.h"

#include "MarkupWalker.h"

#include <algorithm>

namespace {
SMarkupRect FocusRectOf(const std::vector<SLinkArea>& links, const SMarkupRect& client)
{
    if (links.empty())
        return SMarkupRect{};
    SMarkupRect around = links.front().rect;
    for (const SLinkArea& area : links) {
        if (area.link != links.front().link)
            continue;
        around.left = std::min(around.left, area.rect.left);
        around.top = std::min(around.top, area.rect.top);
        around.right = std::max(around.right, area.rect.right);
        around.bottom = std::max(around.bottom, area.rect.bottom);
    }
    return SMarkupRect{std::max(around.left - 1, client.left), std::max(around.top - 1, client.top),
                       std::min(around.right + 1, client.right), std::min(around.bottom + 1, client.bottom)};
}
} // namespace

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
                rendering.links.push_back(SLinkArea{area, style.linkTarget, style.link});
            }
            rendering.lines.push_back(SMarkupRendering::SLine{std::move(piece), index});
        }
    }
    rendering.focusRect = FocusRectOf(rendering.links, client);
    return rendering;
}
