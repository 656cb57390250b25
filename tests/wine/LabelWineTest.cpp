// The label control on a real window: what it paints (read back off the screen),
// what it does on a click, a hover and a timer, and what its operations do to the
// window's styles and font.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "MessagePump.h"
#include "dialog/Label.h"

namespace {

constexpr int kLabelId = 4711;
constexpr int kWidth = 350;
constexpr int kHeight = 60;
constexpr COLORREF kParentColour = RGB(0, 0, 255);

// What the parent saw of the label's click notifications.
struct SNotifications
{
    int count = 0;
    WPARAM wParam = 0;
    NMHDR header{};
};
SNotifications g_notifications;

LRESULT CALLBACK ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_NOTIFY:
        ++g_notifications.count;
        g_notifications.wParam = wParam;
        g_notifications.header = *reinterpret_cast<const NMHDR*>(lParam);
        return 0;
    case WM_ERASEBKGND: {
        RECT client{};
        ::GetClientRect(window, &client);
        HBRUSH blue = ::CreateSolidBrush(kParentColour);
        ::FillRect(reinterpret_cast<HDC>(wParam), &client, blue);
        ::DeleteObject(blue);
        return 1;
    }
    default:
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
}

class LabelOnScreen : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = &ParentProc;
        windowClass.hInstance = ::GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"OvraLabelTestParent";
        windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        ::RegisterClassW(&windowClass);
    }

    void SetUp() override { Create(SS_LEFT); }

    void TearDown() override
    {
        m_label.reset();
        if (m_parent != nullptr)
            ::DestroyWindow(m_parent);
    }

    void Create(DWORD staticType, const wchar_t* templateText = L"template text")
    {
        TearDown();
        g_notifications = SNotifications{};
        m_parent = ::CreateWindowExW(0, L"OvraLabelTestParent", L"label test", WS_POPUP | WS_VISIBLE, 20, 20,
                                     kWidth + 40, kHeight + 40, nullptr, nullptr, ::GetModuleHandleW(nullptr),
                                     nullptr);
        ASSERT_NE(m_parent, nullptr);
        const HWND control =
            ::CreateWindowExW(0, L"STATIC", templateText, WS_CHILD | WS_VISIBLE | staticType, 20, 20, kWidth, kHeight,
                              m_parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kLabelId)),
                              ::GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(control, nullptr);
        m_label = std::make_unique<CLabel>();
        ASSERT_TRUE(m_label->SubclassWindow(control));
        PumpMessagesFor(200);
    }

    HWND Control() const { return m_label->GetSafeHwnd(); }

    // A pixel of the label's client area as the screen shows it.
    COLORREF Pixel(int x, int y) const
    {
        POINT point{x, y};
        ::ClientToScreen(Control(), &point);
        const HDC screen = ::GetDC(nullptr);
        const COLORREF colour = ::GetPixel(screen, point.x, point.y);
        ::ReleaseDC(nullptr, screen);
        return colour;
    }

    // How many pixels of the client area have exactly this colour.
    int CountColour(COLORREF colour) const
    {
        POINT origin{0, 0};
        ::ClientToScreen(Control(), &origin);
        const HDC screen = ::GetDC(nullptr);
        int count = 0;
        for (int y = 0; y < kHeight; y += 1) {
            for (int x = 0; x < kWidth; x += 1)
                count += ::GetPixel(screen, origin.x + x, origin.y + y) == colour ? 1 : 0;
        }
        ::ReleaseDC(nullptr, screen);
        return count;
    }

    void BigCaption(const wchar_t* text)
    {
        m_label->SetPointSize(28).SetBold(true);
        m_label->StoreCaption(text);
        PumpMessagesFor(100);
    }

    HWND m_parent = nullptr;
    std::unique_ptr<CLabel> m_label;
};

TEST_F(LabelOnScreen, CaptionIsStoredWithDoubledAmpersandsAndTheTemplateTextIsNotShown)
{
    m_label->SetBackground(RGB(255, 255, 255)).SetForeground(RGB(0, 0, 0));
    PumpMessagesFor(100);
    EXPECT_EQ(CountColour(RGB(0, 0, 0)), 0) << "the template's text must not be painted";

    m_label->StoreCaption(L"Save & Exit");
    std::wstring caption;
    m_label->GetCaption(caption);
    EXPECT_EQ(caption, L"Save && Exit");
    PumpMessagesFor(100);
    EXPECT_GT(CountColour(RGB(0, 0, 0)), 20) << "the caption is painted";
    EXPECT_EQ(m_label->GetWindowText(), L"template text");
}

TEST_F(LabelOnScreen, SetCaptionNeedsAWindow)
{
    CLabel detached;
    detached.SetCaption(L"lost");
    std::wstring caption;
    detached.GetCaption(caption);
    EXPECT_EQ(caption, L"");
    m_label->SetCaption(L"A&B");
    m_label->GetCaption(caption);
    EXPECT_EQ(caption, L"A&&B");
}

TEST_F(LabelOnScreen, SolidBackgroundAndTheBaseColourThatChangesNothing)
{
    m_label->SetBackground(RGB(255, 0, 0));
    PumpMessagesFor(100);
    EXPECT_EQ(Pixel(5, 5), RGB(255, 0, 0));
    // The base colour is the system's face colour: asking for it keeps the custom one.
    m_label->SetBackground(::GetSysColor(COLOR_3DFACE));
    PumpMessagesFor(100);
    EXPECT_EQ(Pixel(5, 5), RGB(255, 0, 0));
}

TEST_F(LabelOnScreen, GradientRunsInAHundredStripesToTheRightEdge)
{
    m_label->SetBackground(RGB(0, 0, 0), RGB(255, 0, 0), 1);
    PumpMessagesFor(100);
    EXPECT_EQ(Pixel(0, 30), RGB(0, 0, 0));
    // 350 pixels: stripes of 3, the red channel stepping by 652/256.
    EXPECT_EQ(Pixel(2, 30), RGB(0, 0, 0));
    EXPECT_EQ(Pixel(3, 30), RGB(2, 0, 0));
    EXPECT_EQ(Pixel(6, 30), RGB(5, 0, 0));
    // The last stripe (the 100th) starts at 297 and reaches the right edge.
    EXPECT_EQ(Pixel(297, 30), RGB(252, 0, 0));
    EXPECT_EQ(Pixel(kWidth - 1, 30), RGB(252, 0, 0));
}

TEST_F(LabelOnScreen, TransparentModeShowsTheParentAndCanBeTurnedOffAgain)
{
    m_label->SetBackground(RGB(0, 255, 0));
    m_label->SetTransparentMode(true);
    ::RedrawWindow(m_parent, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    PumpMessagesFor(100);
    EXPECT_EQ(Pixel(5, 5), kParentColour);

    m_label->SetTransparentMode(false);
    PumpMessagesFor(100);
    EXPECT_EQ(Pixel(5, 5), RGB(0, 255, 0));
    EXPECT_NE(m_label->GetExStyle() & WS_EX_TRANSPARENT, 0u) << "the extended style stays";
}

TEST_F(LabelOnScreen, BlinkingTextWithoutCustomBackgroundAlternatesWithBlack)
{
    // A custom brush would give the off phase its colour; the base brush gives black.
    m_label->SetForeground(RGB(255, 0, 0));
    BigCaption(L"MMMM");
    m_label->SetBlinkingText(true);
    bool sawRed = false;
    bool sawBlackOnly = false;
    for (int i = 0; i < 12 && !(sawRed && sawBlackOnly); ++i) {
        PumpMessagesFor(120);
        const int red = CountColour(RGB(255, 0, 0));
        sawRed = sawRed || red > 50;
        sawBlackOnly = sawBlackOnly || (red == 0 && CountColour(RGB(0, 0, 0)) > 50);
    }
    EXPECT_TRUE(sawRed);
    EXPECT_TRUE(sawBlackOnly);
    m_label->SetBlinkingText(false);
}

TEST_F(LabelOnScreen, EmbossingPrintsASecondCopyInTheEmbossColour)
{
    m_label->SetBackground(RGB(0, 0, 0)).SetForeground(RGB(255, 0, 0));
    BigCaption(L"MMMM");
    EXPECT_EQ(CountColour(RGB(255, 255, 255)), 0);
    m_label->SetEmbossed(true, 1);
    PumpMessagesFor(100);
    EXPECT_GT(CountColour(RGB(255, 255, 255)), 50) << "the white copy lies over the red one";
    m_label->SetEmbossColor(RGB(0, 255, 0));
    PumpMessagesFor(100);
    EXPECT_EQ(CountColour(RGB(255, 255, 255)), 0);
    EXPECT_GT(CountColour(RGB(0, 255, 0)), 50);
}

TEST_F(LabelOnScreen, CentreImageStyleDrawsOneVerticallyCentredLine)
{
    Create(SS_CENTER | SS_CENTERIMAGE);
    m_label->SetBackground(RGB(255, 255, 255)).SetForeground(RGB(0, 0, 0));
    m_label->StoreCaption(L"Centred");
    PumpMessagesFor(100);
    int top = -1;
    int bottom = -1;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; x += 2) {
            if (Pixel(x, y) == RGB(0, 0, 0)) {
                top = top < 0 ? y : top;
                bottom = y;
                break;
            }
        }
    }
    ASSERT_GE(top, 0);
    EXPECT_NEAR((top + bottom) / 2, kHeight / 2, 6);
}

TEST_F(LabelOnScreen, ClickNotifiesTheParentWhenAskedTo)
{
    m_label->SetWebLink(true, true);
    EXPECT_NE(m_label->GetStyle() & SS_NOTIFY, 0u);
    m_label->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(g_notifications.count, 1);
    EXPECT_EQ(g_notifications.wParam, static_cast<WPARAM>(kLabelId));
    EXPECT_EQ(g_notifications.header.hwndFrom, Control());
    EXPECT_EQ(g_notifications.header.idFrom, static_cast<UINT_PTR>(kLabelId));
    EXPECT_EQ(g_notifications.header.code, CLabel::kClickNotification);

    m_label->SetWebLink(false, false);
    EXPECT_EQ(m_label->GetStyle() & SS_NOTIFY, 0u);
    m_label->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(g_notifications.count, 1) << "a plain label notifies nobody";
}

TEST_F(LabelOnScreen, HoverCursorIsShownOverTheLabel)
{
    const HCURSOR hand = ::LoadCursorW(nullptr, IDC_HAND);
    m_label->SetHoverCursor(hand);
    EXPECT_EQ(m_label->SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(Control()), MAKELPARAM(HTCLIENT, 0)), 1);
    EXPECT_EQ(::GetCursor(), hand);
}

TEST_F(LabelOnScreen, FontOperationsReachTheFontItCreates)
{
    const HDC screen = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);

    m_label->SetPointSize(26).SetBold(true).SetItalic(true).SetUnderline(true).SetEscapement(90, false);
    m_label->SetFace(L"Tahoma", ANSI_CHARSET);
    CFont copy;
    m_label->CreateFontCopy(copy);
    LOGFONTW font{};
    ASSERT_TRUE(copy.GetLogFont(&font));
    EXPECT_EQ(font.lfHeight, -::MulDiv(dpi, 260, 720));
    EXPECT_EQ(font.lfWeight, FW_BOLD);
    EXPECT_TRUE(font.lfItalic);
    EXPECT_TRUE(font.lfUnderline);
    EXPECT_EQ(font.lfEscapement, 900);
    EXPECT_EQ(font.lfOrientation, 900);
    EXPECT_STREQ(font.lfFaceName, L"Tahoma");

    // The same face in other letters changes nothing, not even the character set.
    m_label->SetFace(L"TAHOMA", GREEK_CHARSET);
    EXPECT_EQ(m_label->GetLogFontDescription().lfCharSet, ANSI_CHARSET);
}

TEST_F(LabelOnScreen, EdgesAndAppearance)
{
    m_label->SetSunkenEdge(true).SetThinBorder(true);
    EXPECT_NE(m_label->GetExStyle() & WS_EX_STATICEDGE, 0u);
    EXPECT_NE(m_label->GetStyle() & WS_BORDER, 0u);
    m_label->SetSunkenEdge(false).SetThinBorder(false);
    EXPECT_EQ(m_label->GetExStyle() & WS_EX_STATICEDGE, 0u);
    EXPECT_EQ(m_label->GetStyle() & WS_BORDER, 0u);

    m_label->SetAppearance(RGB(255, 255, 0), RGB(0, 0, 128), true, false, L"Tahoma", 30, true, false, false);
    BigCaption(L"MMMM");
    EXPECT_EQ(Pixel(2, 2), RGB(0, 0, 128)) << "the new base colour fills the background";
    EXPECT_GT(CountColour(RGB(255, 255, 0)), 50);
    EXPECT_NE(m_label->GetExStyle() & WS_EX_STATICEDGE, 0u);
}

} // namespace
