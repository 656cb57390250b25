#include "OfcXHTMLStatic.h"

#include <algorithm>

#include <objbase.h>

#include "GdiTextMeasurer.h"
#include "MarkupText.h"
#include "OpenUrlWithBrowser.h"
#include "win32/PaintDC.h"
#include "win32/SelectedObject.h"
#include "win32/WindowDC.h"

COfcXHTMLStatic::COfcXHTMLStatic()
    : m_crBackground(::GetSysColor(COLOR_WINDOW)), m_crText(::GetSysColor(COLOR_WINDOWTEXT)),
      m_hHandCursor(::CopyIcon(::LoadCursorW(nullptr, IDC_HAND)))
{
}

COfcXHTMLStatic::~COfcXHTMLStatic() = default;

void COfcXHTMLStatic::PreSubclassWindow()
{
    ModifyStyle(0, SS_NOTIFY | WS_TABSTOP);
    m_bFocusCuesHidden = AreFocusCuesHidden();
    // Without a font of its own the control paints in its device context's.
    static_cast<void>(m_font.CreateFontIndirect(WindowFontDescription()));
}

LOGFONTW COfcXHTMLStatic::WindowFontDescription() const
{
    HGDIOBJ font = reinterpret_cast<HGDIOBJ>(SendMessage(WM_GETFONT));
    if (font == nullptr)
        font = ::GetStockObject(SYSTEM_FONT);
    LOGFONTW description{};
    ::GetObjectW(font, sizeof(description), &description);
    return description;
}

int COfcXHTMLStatic::GetMarkupHeight() const
{
    const RECT client = GetClientRect();
    const CWindowDC windowDC(m_hWnd);
    const HDC hDC = windowDC.Get();
    int bottom = client.top;
    {
        const CSelectedObject fontSelection(hDC, m_font.GetSafeHandle());
        const LOGFONTW base = WindowFontDescription();
        SMarkupStyle baseStyle;
        baseStyle.font = CGdiTextMeasurer::MarkupFontOf(base);
        CGdiTextMeasurer measurer(hDC, base);
        // Room for every line: the layout leaves out lines below its rectangle.
        const SMarkupRendering rendering = CMarkupLayout::Lay(
            m_strMarkup, baseStyle, SMarkupRect{client.left, client.top, client.right, client.top + 0x3FFF}, measurer);
        for (const SMarkupRendering::SLine& line : rendering.lines)
            bottom = std::max(bottom, line.piece.y + line.piece.size.cy);
    }
    // The layout starts a line only where it ends above the bottom edge.
    return bottom - client.top + 1;
}

void COfcXHTMLStatic::SetMarkup(const std::wstring& markup)
{
    m_strPlainText = MarkupText::PlainText(markup);
    if (m_hWnd != nullptr)
        SetWindowText(m_strPlainText);

    // The hook may ask COM for the address; COM is set up only when an id is met.
    bool comStarted = false;
    bool comToRelease = false;
    auto lookUp = [&](int id) {
        if (!comStarted) {
            comStarted = true;
            const HRESULT result = ::CoInitialize(nullptr);
            comToRelease = result == S_OK || result == S_FALSE;
        }
        return GetWebLinkUrl(id);
    };
    m_strMarkup = MarkupText::ResolveWebLinkIds(markup, lookUp);
    if (comToRelease)
        ::CoUninitialize();
}

COLORREF COfcXHTMLStatic::SetBackgroundColor(COLORREF colour)
{
    const COLORREF previous = m_crBackground;
    m_crBackground = colour;
    return previous;
}

COLORREF COfcXHTMLStatic::SetForegroundColor(COLORREF colour)
{
    const COLORREF previous = m_crText;
    m_crText = colour;
    return previous;
}

int COfcXHTMLStatic::OpenLink(const std::wstring& target, int showCommand)
{
    return OpenUrlWithBrowser(target, showCommand);
}

std::wstring COfcXHTMLStatic::GetWebLinkUrl(int /*linkId*/)
{
    return std::wstring();
}

void COfcXHTMLStatic::OnPaint()
{
    const CPaintDC paint(m_hWnd);
    const HDC hDC = paint.Get();
    if (m_strMarkup.empty())
        SetMarkup(GetWindowText());
    const RECT client = GetClientRect();
    const COwnedBrush background(::CreateSolidBrush(m_crBackground));
    ::FillRect(hDC, &client, background.Get());
    const int previousMode = ::SetBkMode(hDC, TRANSPARENT);
    {
        const CSelectedObject fontSelection(hDC, m_font.GetSafeHandle());
        const LOGFONTW base = WindowFontDescription();
        SMarkupStyle baseStyle;
        baseStyle.font = CGdiTextMeasurer::MarkupFontOf(base);
        baseStyle.textColor = m_crText;
        baseStyle.backColor = m_crBackground;
        CGdiTextMeasurer measurer(hDC, base);
        const SMarkupRendering rendering = CMarkupLayout::Lay(
            m_strMarkup, baseStyle, SMarkupRect{client.left, client.top, client.right, client.bottom}, measurer);
        DrawRendering(hDC, rendering, measurer);
        // Each paint replaces the areas: a click must hit what is on the screen now.
        m_links = rendering.links;
        if (!rendering.linkFragments.empty() && !m_bHoverTimerStarted) {
            m_bHoverTimerStarted = true;
            ::SetTimer(m_hWnd, kHoverTimerId, kHoverPeriodMs, nullptr);
        }
    }
    ::SetBkMode(hDC, previousMode);
}

void COfcXHTMLStatic::DrawRendering(HDC hDC, const SMarkupRendering& rendering, CGdiTextMeasurer& fonts)
{
    for (const SMarkupRendering::SLine& line : rendering.lines) {
        const SMarkupStyle& style = rendering.styles[line.style];
        fonts.SelectFont(style.font);
        ::SetTextColor(hDC, style.linkOpen ? kLinkColour : style.textColor);
        ::SetBkColor(hDC, style.backColor);
        const SWrappedLine& piece = line.piece;
        if (style.backColor != m_crBackground) {
            const RECT area{piece.x, piece.y, piece.x + piece.size.cx, piece.y + piece.size.cy};
            const COwnedBrush brush(::CreateSolidBrush(style.backColor));
            ::FillRect(hDC, &area, brush.Get());
        }
        ::TextOutW(hDC, piece.x, piece.y, piece.text.c_str(), static_cast<int>(piece.text.size()));
    }
    const SMarkupRect& focus = rendering.focusRect;
    if (::GetFocus() == m_hWnd && focus.right > focus.left && !m_bFocusCuesHidden) {
        const RECT area{focus.left, focus.top, focus.right, focus.bottom};
        ::DrawFocusRect(hDC, &area);
    }
}

bool COfcXHTMLStatic::AreFocusCuesHidden() const
{
    return (SendMessage(WM_QUERYUISTATE) & UISF_HIDEFOCUS) != 0;
}

// The control keeps the state it was told as well: not every system answers
// WM_QUERYUISTATE with what WM_UPDATEUISTATE set.
void COfcXHTMLStatic::OnFocusCuesChanged(WORD action, WORD cues)
{
    if ((cues & UISF_HIDEFOCUS) == 0)
        return;
    const bool wasHidden = m_bFocusCuesHidden;
    if (action == UIS_SET)
        m_bFocusCuesHidden = true;
    else if (action == UIS_CLEAR)
        m_bFocusCuesHidden = false;
    else
        m_bFocusCuesHidden = AreFocusCuesHidden();
    if (m_bFocusCuesHidden != wasHidden)
        Invalidate(TRUE);
}

const SLinkArea* COfcXHTMLStatic::LinkAtScreenPoint(POINT screenPoint) const
{
    POINT clientPoint = screenPoint;
    ::ScreenToClient(m_hWnd, &clientPoint);
    for (const SLinkArea& link : m_links) {
        if (link.rect.Contains(clientPoint.x, clientPoint.y))
            return &link;
    }
    return nullptr;
}

void COfcXHTMLStatic::OnTimer()
{
    if (m_links.empty())
        return;
    m_bHovering = false;
    POINT cursor{};
    ::GetCursorPos(&cursor);
    if (LinkAtScreenPoint(cursor) != nullptr) {
        if (m_hHandCursor) {
            const HCURSOR replaced = ::SetCursor(m_hHandCursor.Get());
            if (m_hSavedCursor == nullptr)
                m_hSavedCursor = replaced;
            m_bHovering = true;
        }
        return;
    }
    if (m_hSavedCursor != nullptr) {
        ::SetCursor(m_hSavedCursor);
        m_hSavedCursor = nullptr;
        RedrawWindow(RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    }
}

void COfcXHTMLStatic::OnClicked(POINT clientPoint)
{
    ::ClientToScreen(m_hWnd, &clientPoint);
    const SLinkArea* link = LinkAtScreenPoint(clientPoint);
    if (link != nullptr) {
        const std::wstring target = link->target;
        OpenLink(target, SW_SHOW);
    }
}

void COfcXHTMLStatic::OnKeyDown(WPARAM key)
{
    if (key == VK_SPACE && !m_links.empty()) {
        const std::wstring target = m_links.front().target;
        OpenLink(target, SW_SHOW);
    }
}

// The parent answers the notifications of the default processing at once, and may
// destroy the control there, or delete this object: neither may be used after that.
bool COfcXHTMLStatic::IsStillThere(const std::weak_ptr<const int>& lifetime, HWND window) const
{
    return !lifetime.expired() && m_hWnd == window && window != nullptr;
}

LRESULT COfcXHTMLStatic::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    const std::weak_ptr<const int> lifetime = m_pLifetime;
    const HWND window = m_hWnd;
    switch (message) {
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_TIMER:
        if (wParam == kHoverTimerId) {
            OnTimer();
            return 0;
        }
        break;
    case WM_SETCURSOR:
        if (m_bHovering)
            return TRUE;
        break;
    case WM_LBUTTONDOWN: {
        // Where the static reports STN_CLICKED to its parent; the click's own position counts.
        const LRESULT result = DefWindowProcChain(message, wParam, lParam);
        if (IsStillThere(lifetime, window))
            OnClicked(POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
        return result;
    }
    case WM_KEYDOWN: {
        const LRESULT result = DefWindowProcChain(message, wParam, lParam);
        if (IsStillThere(lifetime, window))
            OnKeyDown(wParam);
        return result;
    }
    case WM_SETTEXT:
        // The static would paint the plain text over the markup at once; only store it.
        return ::DefWindowProcW(m_hWnd, message, wParam, lParam);
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        Invalidate(TRUE);
        break;
    case WM_UPDATEUISTATE: {
        // The accelerator cues are never shown; a focus cue cleared with them still is.
        WORD cues = HIWORD(wParam);
        if (LOWORD(wParam) == UIS_CLEAR)
            cues &= static_cast<WORD>(~UISF_HIDEACCEL);
        if (cues == 0 && HIWORD(wParam) != 0)
            return 0;
        const LRESULT result = DefWindowProcChain(message, MAKEWPARAM(LOWORD(wParam), cues), lParam);
        if (IsStillThere(lifetime, window))
            OnFocusCuesChanged(LOWORD(wParam), cues);
        return result;
    }
    case WM_DESTROY:
        if (m_bHoverTimerStarted) {
            ::KillTimer(m_hWnd, kHoverTimerId);
            m_bHoverTimerStarted = false;
        }
        break;
    default:
        break;
    }
    return DefWindowProcChain(message, wParam, lParam);
}
