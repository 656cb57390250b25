#include "GdiTextMeasurer.h"

#include <algorithm>
#include <cwchar>

CGdiTextMeasurer::CGdiTextMeasurer(HDC hDC, const LOGFONTW& base) : m_hDC(hDC), m_base(base)
{
}

CGdiTextMeasurer::~CGdiTextMeasurer()
{
    if (m_hOriginalFont != nullptr)
        ::SelectObject(m_hDC, m_hOriginalFont);
}

SMarkupFont CGdiTextMeasurer::MarkupFontOf(const LOGFONTW& description)
{
    SMarkupFont font;
    font.face = description.lfFaceName;
    font.height = description.lfHeight;
    font.weight = description.lfWeight;
    font.italic = description.lfItalic != 0;
    font.underline = description.lfUnderline != 0;
    font.strikeOut = description.lfStrikeOut != 0;
    return font;
}

LOGFONTW CGdiTextMeasurer::DescriptionOf(const LOGFONTW& base, const SMarkupFont& font)
{
    LOGFONTW description = base;
    const size_t count = std::min(font.face.size(), static_cast<size_t>(LF_FACESIZE - 1));
    std::wmemcpy(description.lfFaceName, font.face.c_str(), count);
    description.lfFaceName[count] = L'\0';
    description.lfHeight = font.height;
    description.lfWeight = font.weight;
    description.lfItalic = font.italic ? 1 : 0;
    description.lfUnderline = font.underline ? 1 : 0;
    description.lfStrikeOut = font.strikeOut ? 1 : 0;
    return description;
}

HFONT CGdiTextMeasurer::FontFor(const SMarkupFont& font)
{
    for (const auto& cached : m_fonts) {
        if (cached->font == font)
            return cached->gdiFont.GetSafeHandle();
    }
    auto cached = std::make_unique<SCachedFont>();
    cached->font = font;
    if (!cached->gdiFont.CreateFontIndirect(DescriptionOf(m_base, font)))
        return nullptr;
    m_fonts.push_back(std::move(cached));
    return m_fonts.back()->gdiFont.GetSafeHandle();
}

void CGdiTextMeasurer::SelectFont(const SMarkupFont& font)
{
    const HFONT handle = FontFor(font);
    if (handle == nullptr)
        return;
    const HGDIOBJ previous = ::SelectObject(m_hDC, handle);
    if (m_hOriginalFont == nullptr && previous != HGDI_ERROR)
        m_hOriginalFont = previous;
}

SMarkupSize CGdiTextMeasurer::Measure(std::wstring_view text)
{
    if (text.empty()) {
        TEXTMETRICW metrics{};
        ::GetTextMetricsW(m_hDC, &metrics);
        return SMarkupSize{0, metrics.tmHeight};
    }
    SIZE size{};
    ::GetTextExtentPoint32W(m_hDC, text.data(), static_cast<int>(text.size()), &size);
    return SMarkupSize{size.cx, size.cy};
}
