#pragma once

#include "MarkupStyle.h"

#include <string>
#include <string_view>

// Walks a markup text from its start and hands out its text fragments, each with the
// style the tags before it set. A tag is written all in lower case or all in upper
// case; anything else, a "<font" or "<a href=" without a closing ">" included, is text.
class CMarkupWalker
{
public:
    // `base` gives the font and colours the text starts with and "</font>" returns to.
    CMarkupWalker(std::wstring markup, const SMarkupStyle& base);

    // The next fragment and its style; false when the markup is used up.
    bool Next(std::wstring& fragment, SMarkupStyle& style);

    // Face names longer than this are cut, as a font description holds no more.
    static constexpr size_t kMaxFaceLength = 31;
    // Size attributes make a font at most this tall (or small, with the other sign).
    static constexpr int kMaxFontHeight = 4096;

private:
    enum class ETag { Bold, BoldEnd, Italic, ItalicEnd, Underline, UnderlineEnd, Strike, StrikeEnd,
                      Font, FontEnd, Link, LinkEnd, Break, None };

    ETag TagAtPosition(size_t& length) const;
    void Apply(ETag tag, size_t length);
    void ReadFontAttributes(std::wstring_view attributes);
    void ApplyFontAttribute(std::wstring_view name, const std::wstring& value);
    SMarkupStyle CurrentStyle() const;

    std::wstring m_strMarkup;
    size_t m_nPosition = 0;
    SMarkupStyle m_base;
    SMarkupFont m_font;
    ColorRef m_crText;
    ColorRef m_crBack;
    int m_nBold = 0;
    int m_nItalic = 0;
    int m_nUnderline = 0;
    int m_nStrike = 0;
    bool m_bLinkOpen = false;
    std::wstring m_strLinkTarget;
    int m_nLinks = 0;
};
