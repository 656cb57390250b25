#pragma once

#include <windows.h>

#include <string>

#include "win32/Font.h"
#include "win32/Handle.h"
#include "win32/Static.h"

// A static control that paints its own caption: colours, font, solid, gradient or
// no background, embossing, rotation, blinking and clickable links. The window
// text of the template is not shown; only the caption set through these calls is.
class CLabel : public CStatic
{
public:
    // Code of the WM_NOTIFY a click sends to the parent when notify-parent is set.
    static constexpr UINT kClickNotification = 0x8200;
    static constexpr UINT_PTR kBlinkTimerId = 1;
    static constexpr UINT kBlinkPeriodMs = 500;

    CLabel();
    ~CLabel() override;

    virtual CLabel& SetBackground(COLORREF colour, COLORREF endColour = 0, int gradient = 0);
    virtual CLabel& SetForeground(COLORREF colour);
    virtual CLabel& SetCaption(const std::wstring& text);
    virtual CLabel& SetLogicalFont(const LOGFONTW& description);
    virtual CLabel& SetMailtoLink(bool on, bool notify);
    virtual CLabel& SetLinkTarget(const std::wstring& target);
    virtual CLabel& SetBold(bool bold);
    virtual CLabel& SetFace(const std::wstring& faceName, BYTE charSet);
    virtual CLabel& SetUnderline(bool underline);
    virtual CLabel& SetItalic(bool italic);
    virtual CLabel& SetPointSize(int points);
    virtual CLabel& SetSunkenEdge(bool sunken);
    virtual CLabel& SetThinBorder(bool border);
    virtual CLabel& SetTransparentMode(bool transparent);
    virtual CLabel& SetBlinkingText(bool blink);
    virtual CLabel& SetBlinkingBackground(bool blink);
    virtual CLabel& SetWebLink(bool on, bool notify);
    virtual CLabel& SetHoverCursor(HCURSOR cursor);
    virtual CLabel& SetEmbossed(bool on, int direction);
    virtual CLabel& SetEscapement(int degrees, bool aboutCentre);
    virtual CLabel& SetEmbossColor(COLORREF colour);
    virtual void SetAppearance(COLORREF textColour, COLORREF baseColour, bool sunken, bool border,
                               const std::wstring& faceName, int height, bool bold, bool italic, bool underline);
    virtual void StoreCaption(std::wstring text);
    virtual void GetCaption(std::wstring& caption) const;
    virtual void CreateFontCopy(CFont& font) const;

    // A horizontal gradient of at most 100 vertical stripes.
    static void PaintGradient(HDC hDC, const RECT& rect, COLORREF start, COLORREF end);

    // Inspection for callers that must not reach into the fields.
    const LOGFONTW& GetLogFontDescription() const { return m_logFont; }
    bool IsTransparentMode() const { return m_bTransparent; }

protected:
    void PreSubclassWindow() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    enum class LinkKind { None = 0, Web = 1, Mail = 2 };
    enum class BlinkKind { None = 0, Text = 1, Background = 2 };

    void Redraw();
    void RecreateFont();
    CLabel& SetLink(LinkKind kind, bool on, bool notify);
    void OnPaint();
    void PaintBackground(HDC hDC, const RECT& rect);
    UINT DrawTextFormat(const std::wstring& caption) const;
    COLORREF EffectiveTextColour() const;
    void OnTimer();
    void OnLeftButtonDown();
    bool OnSetCursor();
    void OnSysColorChange();

    COLORREF m_crText;
    COLORREF m_crEmboss = RGB(255, 255, 255);
    COwnedBrush m_hBaseBrush;
    COwnedBrush m_hCustomBrush;
    LOGFONTW m_logFont{};
    CFont m_font;
    bool m_bBlinkPhase = false;
    bool m_bTimerRunning = false;
    LinkKind m_linkKind = LinkKind::None;
    bool m_bTransparent = false;
    bool m_bEmbossed = false;
    bool m_bNotifyParent = false;
    bool m_bRotateAboutCentre = false;
    BlinkKind m_blinkKind = BlinkKind::None;
    HCURSOR m_hHoverCursor = nullptr;
    int m_nEmbossDirection = 0;
    int m_nGradient = 0;
    COLORREF m_crGradientEnd = 0;
    COLORREF m_crCustomBackground = 0;
    std::wstring m_strLinkTarget;
    std::wstring m_strCaption;
    COLORREF m_crBaseBackground;
};
