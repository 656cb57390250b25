#pragma once

#include <windows.h>

#include "TextMeasurer.h"
#include "win32/Font.h"

#include <memory>
#include <vector>

// Measures with the fonts it selects into a device context; each distinct markup font
// is created once from the control's own font description. The context's font is
// put back when the measurer goes.
class CGdiTextMeasurer : public ITextMeasurer
{
public:
    CGdiTextMeasurer(HDC hDC, const LOGFONTW& base);
    ~CGdiTextMeasurer() override;
    CGdiTextMeasurer(const CGdiTextMeasurer&) = delete;
    CGdiTextMeasurer& operator=(const CGdiTextMeasurer&) = delete;

    void SelectFont(const SMarkupFont& font) override;
    SMarkupSize Measure(std::wstring_view text) override;

    static SMarkupFont MarkupFontOf(const LOGFONTW& description);
    static LOGFONTW DescriptionOf(const LOGFONTW& base, const SMarkupFont& font);

private:
    HFONT FontFor(const SMarkupFont& font);

    struct SCachedFont
    {
        SMarkupFont font;
        CFont gdiFont;
    };

    HDC m_hDC;
    LOGFONTW m_base;
    std::vector<std::unique_ptr<SCachedFont>> m_fonts;
    HGDIOBJ m_hOriginalFont = nullptr;
};
