#pragma once

#include "TextMeasurer.h"

#include <string>
#include <string_view>
#include <vector>

// One line piece that is to be drawn, at (x, y) in the layout's coordinates.
struct SWrappedLine
{
    std::wstring text;
    int x = 0;
    int y = 0;
    SMarkupSize size;
};

// Breaks one text fragment into lines at spaces (between characters when a word is
// wider than the whole line), continuing the line a previous fragment left off.
class CWrappedText
{
public:
    // Lays `fragment` out from `xOffset` on the line at `layout.top`; appends the lines
    // worth drawing (inside the rectangle, not only blanks) to `lines`. `layout.top`
    // is left at the last line, or at the bottom when no more lines fit. Returns the
    // x where the last line ends.
    static int Lay(ITextMeasurer& measurer, std::wstring_view fragment, SMarkupRect& layout, int xOffset,
                   std::vector<SWrappedLine>& lines);

private:
    static SMarkupSize BuildLine(ITextMeasurer& measurer, std::wstring_view fragment, size_t& position,
                                 int available, bool keepLeadingSpaces, bool continuesLine, std::wstring& line);
    static bool HoldsInk(const std::wstring& line);
};
