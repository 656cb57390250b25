// The markup control on a real window: what it paints (read back off the screen), the
// hand cursor over a link, and links opened by a click and by the space bar through
// the ".htm" handler registered in the test prefix, here the sample setup program,
// which writes down the command line it was started with.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "MessagePump.h"
#include "ShellAssociation.h"
#include "framework/controls/OfcXHTMLStatic.h"
#include "framework/controls/OpenUrlWithBrowser.h"
#include "win32/FileSystemPath.h"

namespace {

namespace fs = std::filesystem;

constexpr int kWidth = 240;
constexpr int kHeight = 120;
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr wchar_t kPageClass[] = L"OvraTestPage";

// What the parent does when the control reports a click; nothing unless a test says.
std::function<void()> g_onStaticClicked;

LRESULT CALLBACK ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND && HIWORD(wParam) == STN_CLICKED && g_onStaticClicked)
        g_onStaticClicked();
    return ::DefWindowProcW(window, message, wParam, lParam);
}

// Writes down every link it is asked to open before opening it, and scribbles over its
// memory when deleted, so that a use after deletion does not pass unnoticed.
class CRecordingMarkupStatic : public COfcXHTMLStatic
{
public:
    int OpenLink(const std::wstring& target, int showCommand) override
    {
        opened.push_back(target);
        return COfcXHTMLStatic::OpenLink(target, showCommand);
    }

    // No two bytes alike: pointers read from it afterwards point nowhere, and no two equal.
    static void operator delete(void* memory, std::size_t size)
    {
        auto* bytes = static_cast<unsigned char*>(memory);
        for (std::size_t i = 0; i < size; ++i)
            bytes[i] = static_cast<unsigned char>(0x80 + i * 7);
        ::operator delete(memory);
    }

    std::vector<std::wstring> opened;
};

std::wstring ClassDefault(const std::wstring& subKey)
{
    wchar_t value[1040] = {};
    LONG size = sizeof(value);
    return ::RegQueryValueW(HKEY_CLASSES_ROOT, subKey.c_str(), value, &size) == ERROR_SUCCESS ? value : L"";
}

class MarkupStaticOnScreen : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = &ParentProc;
        windowClass.hInstance = ::GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"OvraMarkupTestParent";
        windowClass.hbrBackground = static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
        windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        ::RegisterClassW(&windowClass);

        // Web pages open with the sample setup program, which records its command line.
        s_previousPageClass = ClassDefault(L".htm");
        const fs::path recorder =
            fs::path(FileSystemPath::ModulePath(nullptr)).parent_path().parent_path() / "tools" / "SampleSetup.exe";
        ASSERT_TRUE(SetClassDefault(L".htm", kPageClass));
        ASSERT_TRUE(SetClassDefault(std::wstring(kPageClass) + L"\\shell\\open\\command",
                                    L"\"" + recorder.wstring() + L"\" -page \"%1\""));
        wchar_t temp[MAX_PATH + 1] = {};
        ::GetTempPathW(MAX_PATH, temp);
        s_record = fs::path(temp) / "OvraLinkRecord.txt";
        s_recorder = recorder;
        ::SetEnvironmentVariableW(L"OVRA_SETUP_RECORD", s_record.wstring().c_str());
    }

    static void TearDownTestSuite()
    {
        if (!s_previousPageClass.empty())
            SetClassDefault(L".htm", s_previousPageClass);
        ::RegDeleteTreeW(HKEY_CLASSES_ROOT, kPageClass);
        ::SetEnvironmentVariableW(L"OVRA_SETUP_RECORD", nullptr);
    }

    void SetUp() override
    {
        std::error_code ignored;
        fs::remove(s_record, ignored);
        m_parent = ::CreateWindowExW(0, L"OvraMarkupTestParent", L"markup test", WS_POPUP | WS_VISIBLE, 30, 30,
                                     kWidth + 40, kHeight + 40, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(m_parent, nullptr);
        const HWND control =
            ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_LEFT, 20, 20, kWidth, kHeight, m_parent,
                              nullptr, ::GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(control, nullptr);
        m_font = std::make_unique<SFontHolder>(::CreateFontW(-16, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0,
                                                             NONANTIALIASED_QUALITY, 0, L"Tahoma"));
        ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(m_font->font), FALSE);
        m_static = std::make_unique<CRecordingMarkupStatic>();
        ASSERT_TRUE(m_static->SubclassWindow(control));
        m_static->SetBackgroundColor(kWhite);
        m_static->SetForegroundColor(kBlack);
    }

    void TearDown() override
    {
        g_onStaticClicked = nullptr;
        m_static.reset();
        if (m_parent != nullptr)
            ::DestroyWindow(m_parent);
    }

    void Show(const std::wstring& markup)
    {
        m_static->SetMarkup(markup);
        m_static->RedrawWindow(RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        PumpMessagesFor(150);
    }

    HWND Control() const { return m_static->GetSafeHwnd(); }

    // The control's client area as the screen shows it, row by row.
    std::vector<std::vector<COLORREF>> Screen() const
    {
        POINT origin{0, 0};
        ::ClientToScreen(Control(), &origin);
        const HDC screen = ::GetDC(nullptr);
        std::vector<std::vector<COLORREF>> rows(kHeight, std::vector<COLORREF>(kWidth));
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                rows[y][x] = ::GetPixel(screen, origin.x + x, origin.y + y);
        ::ReleaseDC(nullptr, screen);
        return rows;
    }

    struct SInk
    {
        int left = kWidth, right = -1, top = kHeight, bottom = -1;
    };
    static SInk InkOf(const std::vector<std::vector<COLORREF>>& rows, int fromY, int toY, COLORREF colour)
    {
        SInk ink;
        for (int y = fromY; y < toY; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                if (rows[y][x] == colour) {
                    ink.left = std::min(ink.left, x);
                    ink.right = std::max(ink.right, x);
                    ink.top = std::min(ink.top, y);
                    ink.bottom = std::max(ink.bottom, y);
                }
            }
        }
        return ink;
    }

    // The command line the ".htm" handler was started with, split as programs split it.
    std::vector<std::wstring> RecordedArguments() const
    {
        for (int i = 0; i < 200 && !fs::exists(s_record); ++i)
            PumpMessagesFor(100);
        PumpMessagesFor(200);
        return ReadRecordedArguments(s_record);
    }

    struct SFontHolder
    {
        explicit SFontHolder(HFONT f) : font(f) {}
        ~SFontHolder() { ::DeleteObject(font); }
        HFONT font;
    };

    static inline std::wstring s_previousPageClass;
    static inline fs::path s_record;
    static inline fs::path s_recorder;
    HWND m_parent = nullptr;
    std::unique_ptr<SFontHolder> m_font;
    std::unique_ptr<CRecordingMarkupStatic> m_static;
};

TEST_F(MarkupStaticOnScreen, BoldIsWiderAndABreakStartsALineBelow)
{
    Show(L"<b>hhhhhhhh</b><br>hhhhhhhh");
    EXPECT_EQ(m_static->GetWindowText(), L"hhhhhhhh hhhhhhhh");
    const auto rows = Screen();
    const SInk first = InkOf(rows, 0, 16, kBlack);
    const SInk second = InkOf(rows, 16, kHeight, kBlack);
    ASSERT_GE(first.right, 0);
    ASSERT_GE(second.right, 0);
    EXPECT_GT(first.right - first.left, second.right - second.left) << "bold letters are wider";
    EXPECT_GT(second.top, first.bottom) << "the second line lies below the first";
    EXPECT_LT(InkOf(rows, 0, kHeight, kBlack).left, 3) << "both lines start at the left edge";
}

TEST_F(MarkupStaticOnScreen, ALinkIsBlueAndUnderlinedAndColoursComeFromTheFontTag)
{
    Show(L"go <a href=\"http://example.com/\">there</a> <font color=\"red\" bgcolor=\"#00FF00\">MM</font>");
    const auto rows = Screen();
    ASSERT_EQ(m_static->GetLinkAreas().size(), 1u);
    const SLinkArea& area = m_static->GetLinkAreas().front();
    int longestBlueRun = 0;
    for (int y = area.rect.top; y < area.rect.bottom; ++y)
        longestBlueRun = std::max<int>(longestBlueRun, static_cast<int>(std::count(
                                                           rows[y].begin() + area.rect.left,
                                                           rows[y].begin() + area.rect.right, RGB(0, 0, 255))));
    EXPECT_GE(longestBlueRun, (area.rect.right - area.rect.left) * 8 / 10) << "the underline runs under the link";
    const SInk blue = InkOf(rows, 0, kHeight, RGB(0, 0, 255));
    EXPECT_GE(blue.left, area.rect.left);
    EXPECT_LE(blue.right, area.rect.right);
    EXPECT_GE(InkOf(rows, 0, kHeight, RGB(255, 0, 0)).right, area.rect.right) << "red text after the link";
    EXPECT_GE(InkOf(rows, 0, kHeight, RGB(0, 255, 0)).right, area.rect.right) << "bgcolor paints behind its text";
}

TEST_F(MarkupStaticOnScreen, RepaintingKeepsOnlyTheAreasOfTheCurrentLayout)
{
    Show(L"a long line of text with <a href=\"http://example.com/two lines\">a link that wraps</a>");
    const std::vector<SLinkArea> areas = m_static->GetLinkAreas();
    ASSERT_EQ(areas.size(), 2u);
    EXPECT_GT(areas[1].rect.top, areas[0].rect.top);
    for (int i = 0; i < 5; ++i)
        m_static->RedrawWindow(RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(m_static->GetLinkAreas().size(), 2u);
    Show(L"<a href=\"http://example.com/\">short</a>");
    EXPECT_EQ(m_static->GetLinkAreas().size(), 1u);
}

TEST_F(MarkupStaticOnScreen, HoveringALinkShowsTheHandAndLeavingItTakesItBack)
{
    Show(L"text <a href=\"http://example.com/\">link</a> text");
    ASSERT_EQ(m_static->GetLinkAreas().size(), 1u);
    const SMarkupRect rect = m_static->GetLinkAreas().front().rect;
    POINT over{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    ::ClientToScreen(Control(), &over);
    ::SetCursorPos(over.x, over.y);
    PumpMessagesFor(400);
    EXPECT_TRUE(m_static->IsHovering());
    EXPECT_EQ(::GetCursor(), m_static->GetHandCursor());
    EXPECT_EQ(m_static->SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(Control()), MAKELPARAM(HTCLIENT, 0)), TRUE);
    EXPECT_EQ(::GetCursor(), m_static->GetHandCursor()) << "the control keeps the hand while hovering";

    POINT away{2, kHeight - 2};
    ::ClientToScreen(Control(), &away);
    ::SetCursorPos(away.x, away.y);
    PumpMessagesFor(400);
    EXPECT_FALSE(m_static->IsHovering());
    EXPECT_NE(::GetCursor(), m_static->GetHandCursor());
}

TEST_F(MarkupStaticOnScreen, AClickOnTheSecondLineOfALinkOpensItAsOneArgument)
{
    Show(L"a long line of text with <a href=\"http://example.com/two lines?a=1&b=2\">a link that wraps</a>");
    ASSERT_EQ(m_static->GetLinkAreas().size(), 2u);
    const SMarkupRect second = m_static->GetLinkAreas()[1].rect;
    m_static->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(second.left + 3, second.top + 3));
    m_static->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(second.left + 3, second.top + 3));
    const auto arguments = RecordedArguments();
    ASSERT_EQ(arguments.size(), 3u);
    EXPECT_EQ(arguments[1], L"-page");
    EXPECT_EQ(arguments[2], L"http://example.com/two lines?a=1&b=2");
}

TEST_F(MarkupStaticOnScreen, AClickBesideTheLinksOpensNothingAndTheSpaceBarOpensTheFirst)
{
    Show(L"plain <a href=\"http://example.com/first\">one</a> and <a href=\"http://example.com/second\">two</a>");
    ASSERT_EQ(m_static->GetLinkAreas().size(), 2u);
    const SMarkupRect first = m_static->GetLinkAreas()[0].rect;
    const SMarkupRect second = m_static->GetLinkAreas()[1].rect;
    auto click = [this](int x, int y) {
        m_static->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        m_static->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    };
    click(2, kHeight - 2);
    click(2, first.top + 3);
    click((first.right + second.left) / 2, first.top + 3);
    click(second.right + 2, second.top + 3);
    EXPECT_EQ(m_static->opened, std::vector<std::wstring>{}) << "below, before, between and after the links";
    click(second.left + 2, second.top + 3);
    EXPECT_EQ(m_static->opened, std::vector<std::wstring>{L"http://example.com/second"});

    ::SetFocus(Control());
    m_static->SendMessage(WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_EQ(m_static->opened.back(), L"http://example.com/first");
    const auto arguments = RecordedArguments();
    ASSERT_EQ(arguments.size(), 3u);
    EXPECT_EQ(arguments[1], L"-page");
}

TEST_F(MarkupStaticOnScreen, AParentThatDestroysTheControlOnItsClickOpensNothing)
{
    Show(L"<a href=\"http://example.com/\">link</a>");
    ASSERT_EQ(m_static->GetLinkAreas().size(), 1u);
    const SMarkupRect link = m_static->GetLinkAreas().front().rect;
    const LPARAM at = MAKELPARAM(link.left + 2, link.top + 3);
    const HWND control = Control();
    g_onStaticClicked = [control] { ::DestroyWindow(control); };
    ::SendMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, at);
    EXPECT_FALSE(::IsWindow(control));
    EXPECT_EQ(m_static->GetSafeHwnd(), nullptr);
    EXPECT_EQ(m_static->opened, std::vector<std::wstring>{}) << "a control that is gone opens no link";
}

TEST_F(MarkupStaticOnScreen, AParentThatDeletesTheControlOnItsClickLeavesItAlone)
{
    Show(L"<a href=\"http://example.com/\">link</a>");
    ASSERT_EQ(m_static->GetLinkAreas().size(), 1u);
    const SMarkupRect link = m_static->GetLinkAreas().front().rect;
    const HWND control = Control();
    g_onStaticClicked = [this] { m_static.reset(); };
    ::SendMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(link.left + 2, link.top + 3));
    EXPECT_EQ(m_static, nullptr);
    EXPECT_TRUE(::IsWindow(control)) << "the window outlives its object and goes with its parent";
}

TEST_F(MarkupStaticOnScreen, ACommandRegisteredWithVariablesIsExpandedAndABackslashEndsAnAddress)
{
    // The handler named through the environment, as REG_EXPAND_SZ commands do.
    ::SetEnvironmentVariableW(L"OVRA_PAGE_OPENER", s_recorder.wstring().c_str());
    const std::wstring command = std::wstring(kPageClass) + L"\\shell\\open\\command";
    ASSERT_TRUE(SetClassDefault(command, L"\"%OVRA_PAGE_OPENER%\" -page \"%1\"", REG_EXPAND_SZ));
    const int started = OpenUrlWithBrowser(L"file://C:\\Docs\\", SW_SHOW);
    const auto arguments = RecordedArguments();
    ASSERT_TRUE(SetClassDefault(command, L"\"" + s_recorder.wstring() + L"\" -page \"%1\""));
    ::SetEnvironmentVariableW(L"OVRA_PAGE_OPENER", nullptr);
    EXPECT_GT(started, 31);
    ASSERT_EQ(arguments.size(), 3u);
    EXPECT_EQ(arguments[1], L"-page");
    EXPECT_EQ(arguments[2], L"file://C:\\Docs\\") << "the closing quote was not escaped";
}

TEST_F(MarkupStaticOnScreen, AddressesThatCouldLeaveTheirQuotesStartNothing)
{
    EXPECT_EQ(OpenUrlWithBrowser(L"http://example.com/\" -evil", SW_SHOW), 0);
    EXPECT_EQ(OpenUrlWithBrowser(L"http://example.com/\r\n", SW_SHOW), 0);
    EXPECT_EQ(OpenUrlWithBrowser(L"", SW_SHOW), 0);
    EXPECT_GT(OpenUrlWithBrowser(L"http://example.com/ok", SW_SHOW), 31);
    const auto arguments = RecordedArguments();
    ASSERT_EQ(arguments.size(), 3u);
    EXPECT_EQ(arguments[2], L"http://example.com/ok") << "only the acceptable address was opened";
}

TEST_F(MarkupStaticOnScreen, OneFocusRectangleGoesAroundTheFirstLinkUnlessTheCuesAreHidden)
{
    // Two links on one line: rectangles drawn for both would cancel each other out.
    Show(L"text <a href=\"http://example.com/a\">link</a> and <a href=\"http://example.com/b\">more</a>");
    ASSERT_EQ(m_static->GetLinkAreas().size(), 2u);
    const SMarkupRect link = m_static->GetLinkAreas().front().rect;
    // The dotted edges lie a pixel outside the link's text, inside the control; nothing
    // else is drawn.
    const int left = std::max(link.left - 1, 0);
    const int top = std::max(link.top - 1, 0);
    const int right = std::min(link.right + 1, kWidth);
    const int bottom = std::min(link.bottom + 1, kHeight);
    auto dots = [&](const std::vector<std::vector<COLORREF>>& rows) {
        std::array<int, 3> counts{};
        for (int y = top; y < bottom; ++y)
            counts[0] += rows[y][left] != kWhite;
        for (int x = left; x < right; ++x)
            counts[1] += rows[top][x] != kWhite;
        for (int y = bottom; y < kHeight; ++y)
            counts[2] += static_cast<int>(std::count_if(rows[y].begin(), rows[y].end(), [](COLORREF c) { return c != kWhite; }));
        return counts;
    };
    EXPECT_EQ(dots(Screen())[0], 0);
    m_static->SendMessage(WM_UPDATEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
    ::SetFocus(Control());
    PumpMessagesFor(150);
    const auto focused = dots(Screen());
    EXPECT_GE(focused[0], (link.bottom - link.top) / 3) << "the left edge of the focus rectangle";
    EXPECT_GE(focused[1], (link.right - link.left) / 3) << "its top edge";
    EXPECT_EQ(focused[2], 0) << "nothing below the link's line";

    m_static->SendMessage(WM_UPDATEUISTATE, MAKEWPARAM(UIS_SET, UISF_HIDEFOCUS), 0);
    PumpMessagesFor(150);
    EXPECT_EQ(dots(Screen())[0], 0) << "hidden with the keyboard cues";
    m_static->SendMessage(WM_UPDATEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS | UISF_HIDEACCEL), 0);
    PumpMessagesFor(150);
    EXPECT_GE(dots(Screen())[0], (link.bottom - link.top) / 3) << "shown again with them";
    ::SetFocus(m_parent);
    PumpMessagesFor(150);
    EXPECT_EQ(dots(Screen())[0], 0);
    EXPECT_EQ(m_static->GetWindowText(), L"text link and more");
}

} // namespace
