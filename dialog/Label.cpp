#include "Label.h"

#include <shellapi.h>

#include <algorithm>
#include <cwchar>
#include <cstdlib>

#include "win32/PaintDC.h"
#include "win32/SelectedObject.h"
#include "win32/WindowDC.h"

namespace {
constexpr LONG kWeightBold = FW_BOLD;
constexpr LONG kWeightNormal = FW_NORMAL;
constexpr int kMaxGradientSteps = 100;

LOGFONTW DescriptionOf(HGDIOBJ font)
{
    LOGFONTW description{};
    ::GetObjectW(font, sizeof(description), &description);
    return description;
}

bool FaceDiffers(const wchar_t* current, const std::wstring& name)
{
    return ::_wcsicmp(current, name.c_str()) != 0;
}

// LOGFONT holds 31 characters and the terminator; a longer name is cut there.
void CopyFace(LOGFONTW& description, const std::wstring& name)
{
    const size_t count = std::min(name.size(), static_cast<size_t>(LF_FACESIZE - 1));
    std::wmemcpy(description.lfFaceName, name.c_str(), count);
    description.lfFaceName[count] = L'\0';
}

std::wstring DoubleAmpersands(const std::wstring& text)
{
    std::wstring result;
    result.reserve(text.size());
    for (const wchar_t c : text) {
        result += c;
        if (c == L'&')
            result += L'&';
    }
    return result;
}
} // namespace

CLabel::CLabel()
    : m_crText(::GetSysColor(COLOR_WINDOWTEXT)),
      m_hBaseBrush(::CreateSolidBrush(::GetSysColor(COLOR_3DFACE))),
      m_logFont(DescriptionOf(::GetStockObject(DEFAULT_GUI_FONT))),
      m_crBaseBackground(::GetSysColor(COLOR_3DFACE))
{
    RecreateFont();
}

CLabel::~CLabel() = default;

void CLabel::PreSubclassWindow()
{
    HGDIOBJ font = reinterpret_cast<HGDIOBJ>(SendMessage(WM_GETFONT));
    if (font == nullptr)
        font = ::GetStockObject(SYSTEM_FONT);
    m_logFont = DescriptionOf(font);
    RecreateFont();
}

void CLabel::Redraw()
{
    if (m_hWnd == nullptr)
        return;
    const HWND parent = GetParent();
    if (m_bTransparent && parent != nullptr && ::IsWindowVisible(m_hWnd)) {
        // A transparent label paints no background: what lies beneath must be painted
        // again first, or the old text would stay under the new one.
        RECT rect{};
        ::GetWindowRect(m_hWnd, &rect);
        ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
        ::RedrawWindow(parent, &rect, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        return;
    }
    RedrawWindow(RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void CLabel::RecreateFont()
{
    // Without a font of its own the label paints in the one its device context has.
    static_cast<void>(m_font.CreateFontIndirect(m_logFont));
}

CLabel& CLabel::SetBackground(COLORREF colour, COLORREF endColour, int gradient)
{
    if (colour == m_crBaseBackground && m_hBaseBrush)
        return *this;
    m_crGradientEnd = endColour;
    m_nGradient = gradient;
    m_crCustomBackground = colour;
    m_hCustomBrush.Reset();
    if (gradient == 0)
        m_hCustomBrush.Reset(::CreateSolidBrush(colour));
    Redraw();
    return *this;
}

CLabel& CLabel::SetForeground(COLORREF colour)
{
    m_crText = colour;
    Redraw();
    return *this;
}

CLabel& CLabel::SetCaption(const std::wstring& text)
{
    if (m_hWnd == nullptr)
        return *this;
    StoreCaption(text);
    Redraw();
    return *this;
}

CLabel& CLabel::SetLogicalFont(const LOGFONTW& description)
{
    m_logFont = description;
    RecreateFont();
    Redraw();
    return *this;
}

CLabel& CLabel::SetLink(LinkKind kind, bool on, bool notify)
{
    m_linkKind = on ? kind : LinkKind::None;
    m_bNotifyParent = notify;
    if (m_hWnd != nullptr)
        ModifyStyle(on ? 0 : SS_NOTIFY, on ? SS_NOTIFY : 0);
    return *this;
}

CLabel& CLabel::SetMailtoLink(bool on, bool notify)
{
    return SetLink(LinkKind::Mail, on, notify);
}

CLabel& CLabel::SetWebLink(bool on, bool notify)
{
    return SetLink(LinkKind::Web, on, notify);
}

CLabel& CLabel::SetLinkTarget(const std::wstring& target)
{
    m_strLinkTarget = target;
    return *this;
}

CLabel& CLabel::SetBold(bool bold)
{
    const LONG weight = bold ? kWeightBold : kWeightNormal;
    if (m_logFont.lfWeight != weight) {
        m_logFont.lfWeight = weight;
        RecreateFont();
        Redraw();
    }
    return *this;
}

CLabel& CLabel::SetFace(const std::wstring& faceName, BYTE charSet)
{
    if (FaceDiffers(m_logFont.lfFaceName, faceName)) {
        m_logFont.lfCharSet = charSet;
        CopyFace(m_logFont, faceName);
        RecreateFont();
        Redraw();
    }
    return *this;
}

CLabel& CLabel::SetUnderline(bool underline)
{
    if ((m_logFont.lfUnderline != 0) != underline) {
        m_logFont.lfUnderline = underline ? 1 : 0;
        RecreateFont();
        Redraw();
    }
    return *this;
}

CLabel& CLabel::SetItalic(bool italic)
{
    if ((m_logFont.lfItalic != 0) != italic) {
        m_logFont.lfItalic = italic ? 1 : 0;
        RecreateFont();
        Redraw();
    }
    return *this;
}

CLabel& CLabel::SetPointSize(int points)
{
    if (points == m_logFont.lfHeight)
        return *this;
    const CWindowDC screen(nullptr);
    const int pixelsPerInch = ::GetDeviceCaps(screen.Get(), LOGPIXELSY);
    m_logFont.lfHeight = -std::abs(::MulDiv(pixelsPerInch, points * 10, 720));
    m_logFont.lfWidth = 0;
    RecreateFont();
    Redraw();
    return *this;
}

CLabel& CLabel::SetSunkenEdge(bool sunken)
{
    if (m_hWnd != nullptr)
        ModifyStyleEx(sunken ? 0 : WS_EX_STATICEDGE, sunken ? WS_EX_STATICEDGE : 0, SWP_FRAMECHANGED);
    return *this;
}

CLabel& CLabel::SetThinBorder(bool border)
{
    if (m_hWnd != nullptr)
        ModifyStyle(border ? 0 : WS_BORDER, border ? WS_BORDER : 0, SWP_FRAMECHANGED);
    return *this;
}

CLabel& CLabel::SetTransparentMode(bool transparent)
{
    m_bTransparent = transparent;
    // Siblings beneath are painted first; the style stays when the mode is switched off.
    if (m_hWnd != nullptr)
        ModifyStyleEx(0, WS_EX_TRANSPARENT);
    Redraw();
    return *this;
}

CLabel& CLabel::SetBlinkingText(bool blink)
{
    if (blink) {
        if (m_bTimerRunning && m_hWnd != nullptr)
            ::KillTimer(m_hWnd, kBlinkTimerId);
        m_bBlinkPhase = false;
        m_bTimerRunning = true;
        if (m_hWnd != nullptr)
            ::SetTimer(m_hWnd, kBlinkTimerId, kBlinkPeriodMs, nullptr);
        m_blinkKind = BlinkKind::Text;
    } else {
        if (m_bTimerRunning && m_hWnd != nullptr)
            ::KillTimer(m_hWnd, kBlinkTimerId);
        m_blinkKind = BlinkKind::None;
    }
    return *this;
}

CLabel& CLabel::SetBlinkingBackground(bool blink)
{
    if (blink) {
        SetBlinkingText(true);
        m_blinkKind = BlinkKind::Background;
    } else if (m_bTimerRunning && m_hWnd != nullptr) {
        ::KillTimer(m_hWnd, kBlinkTimerId);
    }
    return *this;
}

CLabel& CLabel::SetHoverCursor(HCURSOR cursor)
{
    m_hHoverCursor = cursor;
    return *this;
}

CLabel& CLabel::SetEmbossed(bool on, int direction)
{
    m_bEmbossed = on;
    m_nEmbossDirection = direction;
    Redraw();
    return *this;
}

CLabel& CLabel::SetEscapement(int degrees, bool aboutCentre)
{
    m_logFont.lfEscapement = degrees * 10;
    m_logFont.lfOrientation = degrees * 10;
    m_bRotateAboutCentre = aboutCentre;
    RecreateFont();
    Redraw();
    return *this;
}

CLabel& CLabel::SetEmbossColor(COLORREF colour)
{
    m_crEmboss = colour;
    Redraw();
    return *this;
}

void CLabel::SetAppearance(COLORREF textColour, COLORREF baseColour, bool sunken, bool border,
                           const std::wstring& faceName, int height, bool bold, bool italic, bool underline)
{
    bool changed = false;
    bool fontChanged = false;
    if (textColour != m_crText) {
        m_crText = textColour;
        changed = true;
    }
    if (baseColour != m_crBaseBackground || !m_hBaseBrush) {
        m_crBaseBackground = baseColour;
        m_hBaseBrush.Reset(::CreateSolidBrush(baseColour));
        changed = true;
    }
    SetSunkenEdge(sunken);
    SetThinBorder(border);
    if (!faceName.empty() && FaceDiffers(m_logFont.lfFaceName, faceName)) {
        CopyFace(m_logFont, faceName);
        fontChanged = true;
    }
    if (m_logFont.lfHeight != -height) {
        m_logFont.lfHeight = -height;
        fontChanged = true;
    }
    const LONG weight = bold ? kWeightBold : kWeightNormal;
    if (m_logFont.lfWeight != weight) {
        m_logFont.lfWeight = weight;
        fontChanged = true;
    }
    if ((m_logFont.lfItalic != 0) != italic) {
        m_logFont.lfItalic = italic ? 1 : 0;
        fontChanged = true;
    }
    if ((m_logFont.lfUnderline != 0) != underline) {
        m_logFont.lfUnderline = underline ? 1 : 0;
        fontChanged = true;
    }
    if (fontChanged)
        RecreateFont();
    if (changed || fontChanged)
        Redraw();
}

void CLabel::StoreCaption(std::wstring text)
{
    std::wstring doubled = DoubleAmpersands(text);
    if (doubled != m_strCaption) {
        m_strCaption = std::move(doubled);
        Redraw();
    }
}

void CLabel::GetCaption(std::wstring& caption) const
{
    caption = m_strCaption;
}

void CLabel::CreateFontCopy(CFont& font) const
{
    // The caller sees an empty font object when the system refuses one.
    static_cast<void>(font.CreateFontIndirect(m_logFont));
}

void CLabel::PaintGradient(HDC hDC, const RECT& rect, COLORREF start, COLORREF end)
{
    const int width = rect.right - rect.left;
    if (width <= 0)
        return;
    const int steps = std::min(width, kMaxGradientSteps);
    const int divisor = std::max(steps, 1);
    const int startChannel[3] = {GetRValue(start), GetGValue(start), GetBValue(start)};
    const int endChannel[3] = {GetRValue(end), GetGValue(end), GetBValue(end)};
    int accumulator[3];
    int step[3];
    for (int c = 0; c < 3; ++c) {
        accumulator[c] = startChannel[c] * 256;
        step[c] = ((endChannel[c] - startChannel[c]) * 256) / divisor;
    }
    const int stripeWidth = width / divisor;
    ::SelectObject(hDC, ::GetStockObject(NULL_PEN));
    int left = rect.left;
    for (int i = 0; i < steps; ++i) {
        const int right = i == steps - 1 ? rect.right : left + stripeWidth;
        const COwnedBrush brush(
            ::CreateSolidBrush(RGB(accumulator[0] / 256, accumulator[1] / 256, accumulator[2] / 256)));
        {
            const CSelectedObject selected(hDC, brush.Get());
            ::Rectangle(hDC, left, rect.top, right + 1, rect.bottom);
        }
        for (int c = 0; c < 3; ++c)
            accumulator[c] += step[c];
        left = right;
    }
}

void CLabel::PaintBackground(HDC hDC, const RECT& rect)
{
    if (m_nGradient != 0) {
        PaintGradient(hDC, rect, m_crCustomBackground, m_crGradientEnd);
        return;
    }
    const HBRUSH brush = m_hCustomBrush ? m_hCustomBrush.Get() : m_hBaseBrush.Get();
    if (brush != nullptr)
        ::FillRect(hDC, &rect, brush);
}

COLORREF CLabel::EffectiveTextColour() const
{
    if (m_blinkKind != BlinkKind::Text || m_bBlinkPhase)
        return m_crText;
    if (!m_hCustomBrush)
        return RGB(0, 0, 0);
    LOGBRUSH brush{};
    ::GetObjectW(m_hCustomBrush.Get(), sizeof(brush), &brush);
    return brush.lbColor;
}

UINT CLabel::DrawTextFormat(const std::wstring& caption) const
{
    const DWORD style = GetStyle();
    if ((style & SS_CENTERIMAGE) != 0)
        return caption.find(L"\r\n") != std::wstring::npos ? DT_CENTER : DT_CENTER | DT_VCENTER | DT_SINGLELINE;
    UINT format = 0;
    switch (style & SS_TYPEMASK) {
    case SS_CENTER:
        format = DT_CENTER | DT_WORDBREAK;
        break;
    case SS_RIGHT:
        format = DT_RIGHT | DT_WORDBREAK;
        break;
    case SS_LEFTNOWORDWRAP:
        format = DT_LEFT;
        break;
    default:
        format = DT_WORDBREAK;
        break;
    }
    if (caption.find(L'\t') != std::wstring::npos)
        format |= DT_EXPANDTABS;
    return format;
}

void CLabel::OnPaint()
{
    const CPaintDC paint(m_hWnd);
    const RECT client = GetClientRect();
    std::wstring caption;
    GetCaption(caption);

    // Off-screen unless transparent: the label then never flickers.
    CMemoryDCHandle memory;
    COwnedBitmap offscreen;
    HDC hDC = paint.Get();
    if (!m_bTransparent) {
        memory.Reset(::CreateCompatibleDC(paint.Get()));
        offscreen.Reset(::CreateCompatibleBitmap(paint.Get(), client.right, client.bottom));
        if (memory && offscreen)
            hDC = memory.Get();
    }
    const CSelectedObject offscreenSelection(hDC == memory.Get() ? hDC : nullptr, offscreen.Get());

    const int previousMode = ::SetBkMode(hDC, TRANSPARENT);
    const COLORREF previousColour = ::SetTextColor(hDC, m_crText);
    {
        const CSelectedObject fontSelection(hDC, m_font.GetSafeHandle());
        if (!m_bTransparent)
            PaintBackground(hDC, client);
        ::SetTextColor(hDC, EffectiveTextColour());

        if (m_bRotateAboutCentre) {
            const UINT previousAlign = ::SetTextAlign(hDC, TA_BASELINE);
            POINT previousOrigin{};
            ::SetViewportOrgEx(hDC, client.right / 2, client.bottom / 2, &previousOrigin);
            ::TextOutW(hDC, 0, 0, caption.c_str(), static_cast<int>(caption.size()));
            ::SetViewportOrgEx(hDC, previousOrigin.x, previousOrigin.y, nullptr);
            ::SetTextAlign(hDC, previousAlign);
        } else {
            const UINT format = DrawTextFormat(caption);
            RECT rect = client;
            ::DrawTextW(hDC, caption.c_str(), static_cast<int>(caption.size()), &rect, format);
            if (m_bEmbossed) {
                ::SetTextColor(hDC, m_crEmboss);
                const int offset = m_nEmbossDirection != 0 ? 1 : -1;
                ::OffsetRect(&rect, offset, offset);
                ::DrawTextW(hDC, caption.c_str(), static_cast<int>(caption.size()), &rect, format);
            }
        }
    }
    ::SetBkMode(hDC, previousMode);
    ::SetTextColor(hDC, previousColour);

    if (hDC != paint.Get())
        ::BitBlt(paint.Get(), 0, 0, client.right, client.bottom, hDC, 0, 0, SRCCOPY);
}

void CLabel::OnTimer()
{
    m_bBlinkPhase = !m_bBlinkPhase;
    Redraw();
}

void CLabel::OnLeftButtonDown()
{
    if (m_bNotifyParent) {
        NMHDR header{};
        header.hwndFrom = m_hWnd;
        header.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID());
        header.code = kClickNotification;
        ::SendMessageW(GetParent(), WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
        return;
    }
    std::wstring caption;
    GetCaption(caption);
    if (m_linkKind == LinkKind::Web) {
        const std::wstring& file = m_strLinkTarget.empty() ? caption : m_strLinkTarget;
        ::ShellExecuteW(nullptr, L"open", file.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    } else if (m_linkKind == LinkKind::Mail) {
        const std::wstring mail = L"mailto:" + caption;
        ::ShellExecuteW(nullptr, nullptr, mail.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    }
}

bool CLabel::OnSetCursor()
{
    if (m_hHoverCursor == nullptr)
        return false;
    ::SetCursor(m_hHoverCursor);
    return true;
}

void CLabel::OnSysColorChange()
{
    m_hBaseBrush.Reset(::CreateSolidBrush(::GetSysColor(COLOR_3DFACE)));
    Redraw();
}

LRESULT CLabel::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_TIMER:
        OnTimer();
        break;
    case WM_LBUTTONDOWN:
        OnLeftButtonDown();
        break;
    case WM_SETCURSOR:
        if (OnSetCursor())
            return TRUE;
        break;
    case WM_SYSCOLORCHANGE:
        OnSysColorChange();
        break;
    default:
        break;
    }
    return DefWindowProcChain(message, wParam, lParam);
}
