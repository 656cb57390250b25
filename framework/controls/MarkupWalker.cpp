#include "MarkupWalker.h"

#include "XNamedColors.h"

#include <algorithm>
#include <climits>
#include <cwchar>
#include <iterator>

namespace {
struct STagForm
{
    const wchar_t* lower;
    const wchar_t* upper;
};

// In the order the tags are tried.
constexpr STagForm kTags[] = {
    {L"<b>", L"<B>"},           {L"</b>", L"</B>"},           {L"<i>", L"<I>"},
    {L"</i>", L"</I>"},         {L"<u>", L"<U>"},             {L"</u>", L"</U>"},
    {L"<strike>", L"<STRIKE>"}, {L"</strike>", L"</STRIKE>"}, {L"<font", L"<FONT"},
    {L"</font>", L"</FONT>"},   {L"<a href=", L"<A HREF="},   {L"</a>", L"</A>"},
    {L"<br>", L"<BR>"},
};

constexpr int kWeightBold = 700;
constexpr int kWeightNormal = 400;

bool StartsWith(std::wstring_view text, std::wstring_view prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}

// A huge or often repeated size would overflow the height.
int ReducedHeight(int height, long by)
{
    const long long limited = std::clamp<long long>(by, INT_MIN, INT_MAX);
    const long long reduced = static_cast<long long>(height) - limited;
    return static_cast<int>(std::clamp<long long>(reduced, -CMarkupWalker::kMaxFontHeight,
                                                  CMarkupWalker::kMaxFontHeight));
}

void Decrease(int& depth)
{
    depth = std::max(depth - 1, 0);
}

// A quoted address is the address inside the quotes.
std::wstring Unquoted(std::wstring_view value)
{
    if (value.size() >= 2 && value.front() == L'"' && value.back() == L'"')
        value = value.substr(1, value.size() - 2);
    return std::wstring(value);
}
} // namespace

CMarkupWalker::CMarkupWalker(std::wstring markup, const SMarkupStyle& base)
    : m_strMarkup(std::move(markup)), m_base(base), m_font(base.font), m_crText(base.textColor),
      m_crBack(base.backColor)
{
}

CMarkupWalker::ETag CMarkupWalker::TagAtPosition(size_t& length) const
{
    const std::wstring_view rest = std::wstring_view(m_strMarkup).substr(m_nPosition);
    for (size_t i = 0; i < std::size(kTags); ++i) {
        const std::wstring_view form = StartsWith(rest, kTags[i].lower) ? kTags[i].lower
                                       : StartsWith(rest, kTags[i].upper) ? kTags[i].upper
                                                                          : std::wstring_view();
        if (form.empty())
            continue;
        const size_t close = rest.find(L'>');
        if (close == std::wstring_view::npos)
            return ETag::None;
        length = close + 1;
        return static_cast<ETag>(i);
    }
    return ETag::None;
}

void CMarkupWalker::Apply(ETag tag, size_t length)
{
    const std::wstring_view inner = std::wstring_view(m_strMarkup).substr(m_nPosition, length - 1);
    switch (tag) {
    case ETag::Bold: ++m_nBold; break;
    case ETag::BoldEnd: Decrease(m_nBold); break;
    case ETag::Italic: ++m_nItalic; break;
    case ETag::ItalicEnd: Decrease(m_nItalic); break;
    case ETag::Underline: ++m_nUnderline; break;
    case ETag::UnderlineEnd: Decrease(m_nUnderline); break;
    case ETag::Strike: ++m_nStrike; break;
    case ETag::StrikeEnd: Decrease(m_nStrike); break;
    case ETag::Font: ReadFontAttributes(inner.substr(5)); break;
    case ETag::FontEnd:
        m_font = m_base.font;
        m_crText = m_base.textColor;
        m_crBack = m_base.backColor;
        break;
    case ETag::Link:
        m_strLinkTarget = Unquoted(inner.substr(inner.find(L'=') + 1));
        m_bLinkOpen = true;
        ++m_nLinks;
        break;
    case ETag::LinkEnd: m_bLinkOpen = false; break;
    case ETag::Break:
    case ETag::None: break;
    }
}

void CMarkupWalker::ReadFontAttributes(std::wstring_view attributes)
{
    static constexpr STagForm kNames[] = {{L"color", L"COLOR"}, {L"bgcolor", L"BGCOLOR"}, {L"face", L"FACE"},
                                          {L"size", L"SIZE"}};
    size_t at = 0;
    while (at < attributes.size()) {
        if (attributes[at] == L' ') {
            ++at;
            continue;
        }
        const std::wstring_view rest = attributes.substr(at);
        const STagForm* name = nullptr;
        for (const STagForm& form : kNames) {
            if (StartsWith(rest, form.lower) || StartsWith(rest, form.upper)) {
                name = &form;
                break;
            }
        }
        if (name == nullptr) {
            const size_t space = rest.find(L' ');
            at = space == std::wstring_view::npos ? attributes.size() : at + space;
            continue;
        }
        const size_t open = rest.find(L'"');
        if (open == std::wstring_view::npos)
            return;
        const size_t close = rest.find(L'"', open + 1);
        if (close == std::wstring_view::npos)
            return;
        ApplyFontAttribute(name->lower, std::wstring(rest.substr(open + 1, close - open - 1)));
        at += close + 1;
    }
}

void CMarkupWalker::ApplyFontAttribute(std::wstring_view name, const std::wstring& value)
{
    if (name == L"color")
        m_crText = CXNamedColors(value).GetRGB();
    else if (name == L"bgcolor")
        m_crBack = CXNamedColors(value).GetRGB();
    else if (name == L"face")
        m_font.face = value.substr(0, kMaxFaceLength);
    else
        m_font.height = ReducedHeight(m_font.height, std::wcstol(value.c_str(), nullptr, 10));
}

SMarkupStyle CMarkupWalker::CurrentStyle() const
{
    SMarkupStyle style;
    style.font = m_font;
    style.font.weight = m_nBold != 0 ? kWeightBold : kWeightNormal;
    style.font.underline = m_nUnderline != 0 || m_bLinkOpen;
    style.font.italic = m_nItalic != 0;
    style.font.strikeOut = m_nStrike != 0;
    style.textColor = m_crText;
    style.backColor = m_crBack;
    style.linkOpen = m_bLinkOpen;
    style.linkTarget = m_strLinkTarget;
    style.link = m_bLinkOpen ? m_nLinks : 0;
    return style;
}

bool CMarkupWalker::Next(std::wstring& fragment, SMarkupStyle& style)
{
    while (m_nPosition < m_strMarkup.size()) {
        size_t length = 0;
        const ETag tag = TagAtPosition(length);
        if (tag == ETag::None) {
            const size_t next = m_strMarkup.find(L'<', m_nPosition + 1);
            const size_t end = m_strMarkup[m_nPosition] == L'<' ? m_nPosition + 1
                               : next == std::wstring::npos   ? m_strMarkup.size()
                                                              : next;
            fragment = m_strMarkup.substr(m_nPosition, end - m_nPosition);
            m_nPosition = end;
            style = CurrentStyle();
            return true;
        }
        Apply(tag, length);
        m_nPosition += length;
        if (tag == ETag::Break) {
            fragment = L"\r\n ";
            style = CurrentStyle();
            return true;
        }
    }
    return false;
}
