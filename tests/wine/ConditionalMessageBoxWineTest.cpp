// The conditional message box shown for real: a second thread finds the system's box,
// reads its controls, ticks the check box with the mouse and presses a button.
#include <gtest/gtest.h>

#include <windows.h>
#include <sddl.h>

#include "DialogWatcher.h"
#include "framework/controls/OfcConditionalMessageBox.h"

#include <algorithm>
#include <atomic>
#include <functional>
#include <string>
#include <thread>

namespace {

constexpr wchar_t kSharedKey[] = L"Software\\Ovra\\Suite 2019\\Office\\Shared";
constexpr wchar_t kValue[] = L"OvraBoxTest";
constexpr int kOffice = 1034;

HWND FindBox(DWORD threadId)
{
    return WaitForThreadDialog(threadId, 15000);
}

RECT RectIn(HWND control, HWND box)
{
    RECT rect{};
    ::GetWindowRect(control, &rect);
    ::MapWindowPoints(nullptr, box, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void ClickAt(HWND control)
{
    RECT rect{};
    ::GetWindowRect(control, &rect);
    ::SetCursorPos(rect.left + 6, (rect.top + rect.bottom) / 2);
    ::Sleep(100);
    INPUT inputs[2] = {};
    inputs[0].type = inputs[1].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    ::SendInput(2, inputs, sizeof(INPUT));
}

void WaitUntil(const std::function<bool()>& done)
{
    for (int i = 0; i < 100 && !done(); ++i)
        ::Sleep(50);
}

// What the driving thread saw of one box.
struct SSeenBox {
    bool found = false;
    HWND checkBox = nullptr;
    RECT client{};
    RECT check{};
    RECT ok{};
    RECT text{};
    bool checked = false;
    std::wstring markup;
    std::wstring plain;
    size_t links = 0;
};

class ConditionalMessageBoxTest : public ::testing::Test
{
protected:
    void SetUp() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, kSharedKey); }
    void TearDown() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, kSharedKey); }

    // Shows the box; `press` is the button the driver presses, after ticking the check
    // box when `tick` is set.
    int ShowAndAnswer(COfcConditionalMessageBox& box, const std::wstring& message, UINT type, bool tick, int press,
                      SSeenBox& seen)
    {
        return DriveBox([&] { return box.Show(message, type, 0); }, tick, press, seen);
    }

    int DriveBox(const std::function<int()>& show, bool tick, int press, SSeenBox& seen)
    {
        const DWORD threadId = ::GetCurrentThreadId();
        std::thread driver([&] {
            const HWND hBox = FindBox(threadId);
            if (hBox == nullptr)
                return;
            seen.found = true;
            ::Sleep(200);
            ::GetClientRect(hBox, &seen.client);
            seen.checkBox = ::GetDlgItem(hBox, COfcConditionalMessageBox::kCheckBoxId);
            if (seen.checkBox != nullptr)
                seen.check = RectIn(seen.checkBox, hBox);
            if (const HWND ok = ::GetDlgItem(hBox, press))
                seen.ok = RectIn(ok, hBox);
            if (const HWND text = ::GetDlgItem(hBox, 0xFFFF))
                seen.text = RectIn(text, hBox);
            if (tick && seen.checkBox != nullptr) {
                ClickAt(seen.checkBox);
                WaitUntil([&] { return ::SendMessageW(seen.checkBox, BM_GETCHECK, 0, 0) == BST_CHECKED; });
                seen.checked = ::SendMessageW(seen.checkBox, BM_GETCHECK, 0, 0) == BST_CHECKED;
            }
            ::PostMessageW(hBox, WM_COMMAND, MAKEWPARAM(press, BN_CLICKED), 0);
        });
        const int answer = show();
        driver.join();
        return answer;
    }

    static bool StoredAnswer(DWORD& value, DWORD& type)
    {
        DWORD size = sizeof(value);
        return ::RegGetValueW(HKEY_CURRENT_USER, kSharedKey, kValue, RRF_RT_ANY, &type, &value, &size) ==
               ERROR_SUCCESS;
    }
};

TEST_F(ConditionalMessageBoxTest, TickedAndOkStoresTheAnswerAndTheNextShowReturnsIt)
{
    SSeenBox seen;
    {
        COfcConditionalMessageBox box(kValue, 2, kOffice, COfcConditionalMessageBox::kWithCheckBox);
        EXPECT_TRUE(box.HasKey());
        EXPECT_FALSE(box.IsSuppressed());
        EXPECT_EQ(ShowAndAnswer(box, L"Hi", MB_OKCANCEL, true, IDOK, seen), IDOK);
        EXPECT_TRUE(box.IsSuppressed());
    }
    ASSERT_TRUE(seen.found);
    ASSERT_NE(seen.checkBox, nullptr);
    EXPECT_TRUE(seen.checked) << "a click on the check box ticks it";
    EXPECT_GE(seen.check.top, seen.text.bottom) << "the check box lies below the text";
    EXPECT_LE(seen.check.bottom, seen.ok.top) << "and above the buttons";
    EXPECT_LE(seen.check.right, seen.client.right) << "the box is wide enough for it";

    DWORD value = 0, type = 0;
    ASSERT_TRUE(StoredAnswer(value, type));
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(value, static_cast<DWORD>(IDOK));

    COfcConditionalMessageBox again(kValue, 2, kOffice, COfcConditionalMessageBox::kWithCheckBox);
    EXPECT_TRUE(again.IsSuppressed());
    EXPECT_EQ(again.Show(L"Hi", MB_OKCANCEL, 0), IDOK) << "returned without a window";
    EXPECT_EQ(again.GetSafeHwnd(), nullptr);
}

TEST_F(ConditionalMessageBoxTest, NarrowBoxIsWidenedAndItsButtonsMoveRightByHalf)
{
    // The system's own box for the same text, as a measure.
    SSeenBox plain;
    EXPECT_EQ(DriveBox([] { return ::MessageBoxW(nullptr, L"Hi", L"", MB_OK); }, false, IDOK, plain), IDOK);
    SSeenBox checked;
    {
        COfcConditionalMessageBox box(kValue, 2, kOffice, COfcConditionalMessageBox::kWithCheckBox);
        EXPECT_EQ(ShowAndAnswer(box, L"Hi", MB_OK, false, IDOK, checked), IDOK);
    }
    ASSERT_TRUE(plain.found && checked.found);
    EXPECT_EQ(plain.checkBox, nullptr);
    ASSERT_NE(checked.checkBox, nullptr);
    const int checkWidth = checked.check.right - checked.check.left;
    const int margin = checked.check.left;
    const int extra = checkWidth + 2 * margin - plain.client.right;
    ASSERT_GT(extra, 0) << "the text is narrower than the check box";
    EXPECT_NEAR(checked.client.right, plain.client.right + extra, 1);
    EXPECT_NEAR(checked.ok.left, plain.ok.left + extra / 2, 1);
    EXPECT_EQ(checked.ok.top - plain.ok.top, checked.client.bottom - plain.client.bottom)
        << "the buttons move down by what the box grew";
    EXPECT_EQ(checked.check.top, plain.ok.top) << "the check box takes the buttons' line";

    DWORD value = 0, type = 0;
    EXPECT_FALSE(StoredAnswer(value, type)) << "nothing is stored without a tick";
}

TEST_F(ConditionalMessageBoxTest, TickedAndCancelStoresNothing)
{
    SSeenBox seen;
    COfcConditionalMessageBox box(kValue, 2, kOffice, COfcConditionalMessageBox::kWithCheckBox);
    EXPECT_EQ(ShowAndAnswer(box, L"Cancel me", MB_OKCANCEL, true, IDCANCEL, seen), IDCANCEL);
    EXPECT_TRUE(seen.checked);
    DWORD value = 0, type = 0;
    EXPECT_FALSE(StoredAnswer(value, type));
}

TEST_F(ConditionalMessageBoxTest, OnlyADwordOtherThanZeroOrCancelSuppresses)
{
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, kSharedKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const auto setDword = [&](DWORD value) {
        ::RegSetValueExW(key, kValue, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
    };
    setDword(IDCANCEL);
    EXPECT_FALSE(COfcConditionalMessageBox(kValue, 2, kOffice, 1).IsSuppressed());
    setDword(0);
    EXPECT_FALSE(COfcConditionalMessageBox(kValue, 2, kOffice, 1).IsSuppressed());
    setDword(IDYES);
    EXPECT_EQ(COfcConditionalMessageBox(kValue, 2, kOffice, 1).Show(L"x", MB_YESNO, 0), IDYES);
    const wchar_t text[] = L"6";
    ::RegSetValueExW(key, kValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), sizeof(text));
    ::RegCloseKey(key);

    SSeenBox seen;
    COfcConditionalMessageBox box(kValue, 2, kOffice, 1);
    EXPECT_FALSE(box.IsSuppressed()) << "a stored string is ignored";
    EXPECT_EQ(ShowAndAnswer(box, L"shown", MB_OK, false, IDOK, seen), IDOK);
    EXPECT_TRUE(seen.found);
}

TEST_F(ConditionalMessageBoxTest, AnswerStandsWhenTheKeyCannotBeWritten)
{
    // A key the user may read but not write: the box opens none and stores nothing.
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, kSharedKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ASSERT_TRUE(::ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:P(A;;KR;;;WD)", SDDL_REVISION_1,
                                                                       &descriptor, nullptr));
    ::RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, descriptor);
    ::LocalFree(descriptor);

    SSeenBox seen;
    {
        COfcConditionalMessageBox box(kValue, 2, kOffice, 1);
        EXPECT_FALSE(box.HasKey());
        EXPECT_EQ(ShowAndAnswer(box, L"read-only", MB_YESNO, true, IDYES, seen), IDYES);
    }
    EXPECT_TRUE(seen.checked);
    ASSERT_TRUE(::ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:P(A;;KA;;;WD)", SDDL_REVISION_1,
                                                                       &descriptor, nullptr));
    ::RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, descriptor);
    ::LocalFree(descriptor);
    ::RegCloseKey(key);

    // A key that goes away while the box is up: the write fails, the answer stands.
    SSeenBox second;
    COfcConditionalMessageBox box(L"OvraBoxTestDeleted", 2, kOffice, 1);
    ASSERT_TRUE(box.HasKey());
    ASSERT_EQ(::RegDeleteTreeW(HKEY_CURRENT_USER, kSharedKey), ERROR_SUCCESS);
    EXPECT_EQ(ShowAndAnswer(box, L"deleted", MB_YESNO, true, IDNO, second), IDNO);
    EXPECT_TRUE(box.IsSuppressed());
    DWORD value = 0, type = 0;
    EXPECT_FALSE(StoredAnswer(value, type));
}

// What a markup box put on the screen: its markup control's texts, link areas and ink.
struct SMarkupSeen {
    bool found = false;
    HWND checkBox = nullptr;
    std::wstring markup;
    std::wstring plain;
    size_t links = 0;
    int lastLineInkRight = -1;
    int linkPixels = 0;
    int height = 0;
    int markupHeight = 0;
    // The control's bottom right corner, below and beside its text, and the box just
    // left of the control.
    COLORREF corner = CLR_INVALID;
    COLORREF beside = CLR_INVALID;
    RECT text{};
    RECT check{};
    RECT ok{};
    bool checked = false;
};

SMarkupSeen ShowMarkupBox(const std::wstring& message, unsigned flags = COfcConditionalMessageBox::kMarkup,
                          bool tick = false)
{
    SMarkupSeen seen;
    const DWORD threadId = ::GetCurrentThreadId();
    COfcConditionalMessageBox box(kValue, 2, kOffice, flags);
    std::thread driver([&] {
        const HWND hBox = FindBox(threadId);
        if (hBox == nullptr)
            return;
        seen.found = true;
        ::Sleep(300);
        seen.checkBox = ::GetDlgItem(hBox, COfcConditionalMessageBox::kCheckBoxId);
        for (HWND child = ::GetWindow(hBox, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
            auto* markup = dynamic_cast<COfcXHTMLStatic*>(CWnd::FromHandlePermanent(child));
            if (markup == nullptr)
                continue;
            seen.markup = markup->GetMarkup();
            seen.plain = markup->GetWindowText();
            seen.links = markup->GetLinkAreas().size();
            RECT client{};
            ::GetClientRect(child, &client);
            seen.height = client.bottom;
            seen.markupHeight = markup->GetMarkupHeight();
            POINT origin{0, 0};
            ::ClientToScreen(child, &origin);
            seen.text = RectIn(child, hBox);
            const HDC screen = ::GetDC(nullptr);
            seen.corner = ::GetPixel(screen, origin.x + client.right - 1, origin.y + client.bottom - 1);
            seen.beside = ::GetPixel(screen, origin.x - 2, origin.y + client.bottom - 1);
            for (int y = 0; y < client.bottom; ++y) {
                for (int x = 0; x < client.right; ++x) {
                    const COLORREF pixel = ::GetPixel(screen, origin.x + x, origin.y + y);
                    const bool ink = GetRValue(pixel) + GetGValue(pixel) + GetBValue(pixel) < 600;
                    // The last line's ink: "Bold words", bold or not.
                    if (ink && y >= client.bottom * 2 / 3)
                        seen.lastLineInkRight = std::max(seen.lastLineInkRight, x);

                    if (GetBValue(pixel) > 150 && GetRValue(pixel) < 100 && GetGValue(pixel) < 100)
                        ++seen.linkPixels;
                }
            }
            ::ReleaseDC(nullptr, screen);
        }
        if (const HWND ok = ::GetDlgItem(hBox, IDOK))
            seen.ok = RectIn(ok, hBox);
        if (seen.checkBox != nullptr) {
            seen.check = RectIn(seen.checkBox, hBox);
            if (tick) {
                ClickAt(seen.checkBox);
                WaitUntil([&] { return ::SendMessageW(seen.checkBox, BM_GETCHECK, 0, 0) == BST_CHECKED; });
                seen.checked = ::SendMessageW(seen.checkBox, BM_GETCHECK, 0, 0) == BST_CHECKED;
            }
        }
        ::PostMessageW(hBox, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    });
    EXPECT_EQ(box.Show(message, MB_OK, 0), IDOK);
    driver.join();
    return seen;
}

TEST_F(ConditionalMessageBoxTest, MarkupModeShowsBoldTextAndALinkInTheBox)
{
    // The system sizes the text for its plain form, so bold goes last, where a taller line
    // can only lose a pixel row.
    const SMarkupSeen bold = ShowMarkupBox(L"A line with <a href=\"http://example.com/\">a link</a>\n<b>Bold</b> words");
    ASSERT_TRUE(bold.found);
    EXPECT_EQ(bold.checkBox, nullptr);
    EXPECT_EQ(bold.markup, L"A line with <a href=\"http://example.com/\">a link</a><br> <b>Bold</b> words");
    EXPECT_EQ(bold.plain, L"A line with a link  Bold words");
    EXPECT_GE(bold.links, 1u) << "the link was painted";
    EXPECT_GT(bold.linkPixels, 10) << "in the link colour";

    const SMarkupSeen plain = ShowMarkupBox(L"A line with <a href=\"http://example.com/\">a link</a>\nBold words");
    ASSERT_TRUE(plain.found);
    EXPECT_GE(bold.height, bold.markupHeight) << "the text was made tall enough for every markup line";
    EXPECT_GT(plain.lastLineInkRight, 0);
    EXPECT_GT(bold.lastLineInkRight, plain.lastLineInkRight) << "bold text is wider";
}

TEST_F(ConditionalMessageBoxTest, TheMarkupIsDrawnOnTheBoxsOwnBackground)
{
    const SMarkupSeen seen = ShowMarkupBox(L"Some <b>bold</b> text\nand a second line");
    ASSERT_TRUE(seen.found);
    ASSERT_NE(seen.corner, CLR_INVALID);
    EXPECT_EQ(seen.corner, seen.beside) << std::hex << "the control's background " << seen.corner
                                        << " stands out from the box's " << seen.beside;
}

TEST_F(ConditionalMessageBoxTest, MarkupAndTheCheckBoxTogether)
{
    // As the help display shows its question: bold text and a link, and "do not ask again".
    const SMarkupSeen seen = ShowMarkupBox(L"Open the <b>English</b> help?\nSee <a href=\"http://example.com/\">why</a>",
                                           COfcConditionalMessageBox::kWithCheckBox | COfcConditionalMessageBox::kMarkup,
                                           true);
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(seen.markup, L"Open the <b>English</b> help?<br> See <a href=\"http://example.com/\">why</a>");
    EXPECT_GE(seen.links, 1u);
    ASSERT_NE(seen.checkBox, nullptr);
    EXPECT_TRUE(seen.checked);
    EXPECT_GE(seen.height, seen.markupHeight) << "every markup line has room";
    EXPECT_GE(seen.check.top, seen.text.bottom) << "the check box lies below the markup";
    EXPECT_LE(seen.check.bottom, seen.ok.top) << "and above the buttons";
    DWORD value = 0, type = 0;
    ASSERT_TRUE(StoredAnswer(value, type)) << "the ticked answer was stored";
    EXPECT_EQ(value, static_cast<DWORD>(IDOK));
    COfcConditionalMessageBox again(kValue, 2, kOffice, 3);
    EXPECT_TRUE(again.IsSuppressed());
}

} // namespace
