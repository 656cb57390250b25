#include "WrappedText.h"

namespace {
size_t WordEnd(std::wstring_view text, size_t from)
{
    size_t end = from;
    while (end < text.size() && text[end] != L' ' && text[end] != L'\r' && text[end] != L'\n')
        ++end;
    return end;
}

size_t SpaceRunEnd(std::wstring_view text, size_t from)
{
    size_t end = from;
    while (end < text.size() && text[end] == L' ')
        ++end;
    return end;
}

void SkipCarriageReturns(std::wstring_view text, size_t& position)
{
    while (position < text.size() && text[position] == L'\r')
        ++position;
}
} // namespace

bool CWrappedText::HoldsInk(const std::wstring& line)
{
    return line.find_first_not_of(L" \t") != std::wstring::npos;
}

// Fills `line` from `position` on and moves `position` past what the line took.
SMarkupSize CWrappedText::BuildLine(ITextMeasurer& measurer, std::wstring_view fragment, size_t& position,
                                    int available, bool keepLeadingSpaces, bool continuesLine, std::wstring& line)
{
    if (!keepLeadingSpaces)
        position = SpaceRunEnd(fragment, position);
    line.clear();
    SMarkupSize size = measurer.Measure(line);
    int items = 0;
    size_t itemLineStart = 0;
    size_t itemPosition = position;
    bool byLineFeed = false;
    for (;;) {
        SkipCarriageReturns(fragment, position);
        if (position >= fragment.size())
            return size;
        if (fragment[position] == L'\n') {
            line += L' ';
            ++position;
            byLineFeed = true;
        } else {
            itemLineStart = line.size();
            itemPosition = position;
            const size_t end = fragment[position] == L' ' ? SpaceRunEnd(fragment, position) : WordEnd(fragment, position);
            line.append(fragment.substr(position, end - position));
            position = end;
            ++items;
        }
        size = measurer.Measure(line);
        if (size.cx < available) {
            SkipCarriageReturns(fragment, position);
            if (byLineFeed || position >= fragment.size())
                return size;
            continue;
        }
        if (items >= 2) {
            line.resize(itemLineStart);
            position = itemPosition;
            return measurer.Measure(line);
        }
        if (items == 0 || (continuesLine && byLineFeed))
            return size;
        if (continuesLine) {
            // The word starts the next line; this one only finishes the previous fragment's.
            line = L" ";
            position = itemPosition;
            return measurer.Measure(line);
        }
        // One word wider than the whole line: cut it between characters, keeping at least one.
        const std::wstring_view word = fragment.substr(itemPosition, WordEnd(fragment, itemPosition) - itemPosition);
        size_t keep = word.size();
        while (keep > 1 && measurer.Measure(word.substr(0, keep)).cx >= available)
            --keep;
        line.assign(word.substr(0, keep));
        position = itemPosition + keep;
        return measurer.Measure(line);
    }
}

int CWrappedText::Lay(ITextMeasurer& measurer, std::wstring_view fragment, SMarkupRect& layout, int xOffset,
                      std::vector<SWrappedLine>& lines)
{
    if (layout.top >= layout.bottom - 1)
        return 0;
    size_t position = 0;
    bool firstLine = true;
    std::wstring line;
    for (;;) {
        const bool continuesLine = firstLine && xOffset != 0;
        const SMarkupSize size =
            BuildLine(measurer, fragment, position, layout.right - xOffset, continuesLine, continuesLine, line);
        const int x = layout.left + xOffset;
        xOffset = 0;
        firstLine = false;
        if (layout.bottom - size.cy >= layout.top && HoldsInk(line))
            lines.push_back(SWrappedLine{line, x, layout.top, size});
        if (position >= fragment.size())
            return x + size.cx;
        layout.top += size.cy;
        if (layout.top + size.cy >= layout.bottom) {
            layout.top = layout.bottom;
            return x + size.cx;
        }
    }
}
