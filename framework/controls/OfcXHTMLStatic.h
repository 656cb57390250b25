#pragma once

#include <windows.h>

#include "GdiTextMeasurer.h"
#include "MarkupLayout.h"
#include "win32/Font.h"
#include "win32/Handle.h"
#include "win32/Static.h"

#include <memory>
#include <string>
#include <vector>

namespace HandleTraits {
inline HCURSOR NullCursor() { return nullptr; }
inline void DestroyCopiedCursor(HCURSOR h) { ::DestroyCursor(h); }
} // namespace HandleTraits
// A cursor copied with CopyIcon; the system's shared cursors are never destroyed.
using CCursorCopyHandle = CUniqueHandle<HCURSOR, HandleTraits::NullCursor, HandleTraits::DestroyCopiedCursor>;

// A static control that shows text in a small markup: <b>, <i>, <u>, <strike>,
// <font color= bgcolor= face= size=>, <br> and <a href=> links, which open in the
// web browser on a click or, with the focus, on the space bar. Attached to a static
// of a dialog by subclassing; the first paint takes the window text as markup when
// none was set.
class COfcXHTMLStatic : public CStatic
{
public:
    static constexpr UINT_PTR kHoverTimerId = 1;
    static constexpr UINT kHoverPeriodMs = 80;
    static constexpr COLORREF kLinkColour = RGB(0, 0, 255);

    COfcXHTMLStatic();
    ~COfcXHTMLStatic() override;

    // Sets the text to paint; the window text becomes its plain form. Does not repaint.
    void SetMarkup(const std::wstring& markup);

    // Neither setter repaints.
    virtual COLORREF SetBackgroundColor(COLORREF colour);
    virtual COLORREF SetForegroundColor(COLORREF colour);
    virtual int OpenLink(const std::wstring& target, int showCommand);
    // The address of a "<a weblinkid=N>" link; this control knows none.
    virtual std::wstring GetWebLinkUrl(int linkId);

    const std::wstring& GetMarkup() const { return m_strMarkup; }
    // The height the control needs at its width to show every line of its markup.
    int GetMarkupHeight() const;
    const std::wstring& GetPlainText() const { return m_strPlainText; }
    // The link pieces of the last paint, in client coordinates.
    const std::vector<SLinkArea>& GetLinkAreas() const { return m_links; }
    HCURSOR GetHandCursor() const { return m_hHandCursor.Get(); }
    bool IsHovering() const { return m_bHovering; }

protected:
    void PreSubclassWindow() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    LOGFONTW WindowFontDescription() const;
    void OnPaint();
    void DrawRendering(HDC hDC, const SMarkupRendering& rendering, CGdiTextMeasurer& fonts);
    void OnTimer();
    void OnClicked(POINT clientPoint);
    void OnKeyDown(WPARAM key);
    const SLinkArea* LinkAtScreenPoint(POINT screenPoint) const;
    bool AreFocusCuesHidden() const;
    void OnFocusCuesChanged(WORD action, WORD cues);
    bool IsStillThere(const std::weak_ptr<const int>& lifetime, HWND window) const;

    COLORREF m_crBackground;
    COLORREF m_crText;
    CFont m_font;
    std::vector<SLinkArea> m_links;
    bool m_bHoverTimerStarted = false;
    bool m_bHovering = false;
    bool m_bFocusCuesHidden = false;
    CCursorCopyHandle m_hHandCursor;
    HCURSOR m_hSavedCursor = nullptr;
    std::wstring m_strPlainText;
    std::wstring m_strMarkup;
    // Expires with the object: handlers see whether the parent deleted it meanwhile.
    std::shared_ptr<const int> m_pLifetime = std::make_shared<const int>(0);
};
