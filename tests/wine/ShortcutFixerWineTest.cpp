// The accelerator-key fixer on a real dialog whose German texts came from a translation
// that kept the English letters: every control that needs a mnemonic gets its own,
// the dialog's veto and the excluded ids are respected, and Alt+letter typed on the
// keyboard presses the button that owns the letter.
#include <gtest/gtest.h>

#include <windows.h>

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "framework/controls/ShortcutFixer.h"
#include "framework/controls/ShortcutFixer_Chinese.h"

namespace {

enum EControl : int {
    kFileNameLabel = 100, kFileName, kTypeLabel, kType, kReadOnly, kOverwrite, kHelp, kOptions, kHint, kNote, kHidden
};

struct SDialogLog
{
    int offers = 0;
    int fixedNotices = 0;
    std::vector<int> clicked;
};
SDialogLog g_log;

LRESULT CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case CShortcutFixer::kOfferControl:
        ++g_log.offers;
        if (static_cast<int>(wParam) == kHint)
            reinterpret_cast<CShortcutFixer::SControlOffer*>(lParam)->accept = 0;
        return 0;
    case CShortcutFixer::kShortcutsFixed:
        ++g_log.fixedNotices;
        return 0;
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED)
            g_log.clicked.push_back(LOWORD(wParam));
        return 0;
    default:
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
}

class ShortcutFixerOnADialog : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = &DialogProc;
        windowClass.hInstance = ::GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"OvraShortcutTestDialog";
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        ::RegisterClassW(&windowClass);
    }

    void SetUp() override
    {
        g_log = SDialogLog{};
        m_dialog = ::CreateWindowExW(WS_EX_CONTROLPARENT, L"OvraShortcutTestDialog", L"Datei öffnen",
                                     WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE, 40, 40, 420, 260, nullptr, nullptr,
                                     ::GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(m_dialog, nullptr);
        Add(L"STATIC", L"&Dateiname:", kFileNameLabel, 0, 10, 10);
        Add(L"EDIT", L"", kFileName, WS_BORDER | WS_TABSTOP, 130, 10);
        Add(L"STATIC", L"Datei&typ:", kTypeLabel, 0, 10, 40);
        Add(L"COMBOBOX", L"", kType, CBS_DROPDOWNLIST | WS_TABSTOP, 130, 40);
        Add(L"BUTTON", L"&Schreibgeschützt öffnen", kReadOnly, BS_AUTOCHECKBOX | WS_TABSTOP, 10, 70);
        Add(L"BUTTON", L"Über&schreiben", kOverwrite, BS_PUSHBUTTON | WS_TABSTOP, 10, 100);
        Add(L"BUTTON", L"Ö&ffnen", IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP, 130, 100);
        Add(L"BUTTON", L"&Abbrechen", IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP, 250, 100);
        Add(L"BUTTON", L"&Hilfe", kHelp, BS_PUSHBUTTON | WS_TABSTOP, 10, 130);
        Add(L"BUTTON", L"&Optionen", kOptions, BS_GROUPBOX, 130, 130);
        Add(L"STATIC", L"Hin&weis", kHint, 0, 10, 160);
        Add(L"STATIC", L"&Notiz", kNote, 0, 130, 160);
        Add(L"BUTTON", L"&Verborgen", kHidden, BS_PUSHBUTTON, 250, 160, false);
    }

    void TearDown() override
    {
        if (m_dialog != nullptr)
            ::DestroyWindow(m_dialog);
    }

    void Add(const wchar_t* windowClass, const wchar_t* text, int id, DWORD style, int x, int y, bool visible = true)
    {
        const HWND control = ::CreateWindowExW(0, windowClass, text, WS_CHILD | (visible ? WS_VISIBLE : 0) | style, x, y,
                                               110, 24, m_dialog, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                               ::GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(control, nullptr);
    }

    std::wstring Text(int id) const
    {
        wchar_t text[256] = {};
        ::GetWindowTextW(::GetDlgItem(m_dialog, id), text, 256);
        return text;
    }

    // Runs the dialog's message loop: the fixer sees each message before the dialog manager.
    int RunLoop(CShortcutFixer& fixer, DWORD milliseconds)
    {
        int routed = 0;
        const DWORD start = ::GetTickCount();
        do {
            MSG message;
            while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                if (fixer.HandleAltKey(message)) {
                    ++routed;
                    continue;
                }
                if (!::IsDialogMessageW(m_dialog, &message)) {
                    ::TranslateMessage(&message);
                    ::DispatchMessageW(&message);
                }
            }
            ::Sleep(10);
        } while (::GetTickCount() - start < milliseconds);
        return routed;
    }

    static void TypeAlt(WORD key)
    {
        INPUT inputs[4] = {};
        const WORD keys[4] = {VK_MENU, key, key, VK_MENU};
        for (int i = 0; i < 4; ++i) {
            inputs[i].type = INPUT_KEYBOARD;
            inputs[i].ki.wVk = keys[i];
            inputs[i].ki.dwFlags = i >= 2 ? KEYEVENTF_KEYUP : 0;
        }
        ::SendInput(4, inputs, sizeof(INPUT));
    }

    HWND m_dialog = nullptr;
};

TEST_F(ShortcutFixerOnADialog, GermanTextsGetUniqueMnemonicsAndTheDialogIsToldOnce)
{
    CShortcutFixer fixer;
    fixer.SetDialog(m_dialog);
    fixer.AddExcludedId(kNote);
    fixer.FixShortcuts();
    RunLoop(fixer, 100);

    const std::map<int, std::wstring> expected = {
        {kFileNameLabel, L"Da&teiname:"},
        {kTypeLabel, L"&Dateityp:"},
        {kReadOnly, L"&Schreibgeschützt öffnen"},
        {kOverwrite, L"Ü&berschreiben"},
        {IDOK, L"Ö&ffnen"},
        {IDCANCEL, L"&Abbrechen"},
        {kHelp, L"&Hilfe"},
        {kOptions, L"Optionen"},
        {kHint, L"Hin&weis"},
        {kNote, L"&Notiz"},
        {kHidden, L"Verborgen"},
    };
    for (const auto& [id, text] : expected)
        EXPECT_EQ(Text(id), text) << id;
    EXPECT_EQ(g_log.offers, 13) << "every child is offered, the excluded one too";
    EXPECT_EQ(g_log.fixedNotices, 1);
    ASSERT_NE(fixer.GetControls(), nullptr);
    std::set<std::wstring> mnemonics;
    int withMnemonic = 0;
    for (const SShortcutControl& control : *fixer.GetControls()) {
        if (!control.mnemonic.empty()) {
            ++withMnemonic;
            mnemonics.insert(control.mnemonic);
        }
    }
    EXPECT_EQ(withMnemonic, 7);
    EXPECT_EQ(mnemonics.size(), 7u);
}

TEST_F(ShortcutFixerOnADialog, AltAndALetterPressesTheButtonThatOwnsIt)
{
    CShortcutFixer fixer;
    fixer.SetDialog(m_dialog);
    fixer.FixShortcuts();
    RunLoop(fixer, 100);
    ::SetForegroundWindow(m_dialog);
    ::SetFocus(::GetDlgItem(m_dialog, kFileName));
    RunLoop(fixer, 100);
    ASSERT_EQ(::GetForegroundWindow(), m_dialog);

    TypeAlt('B');
    EXPECT_EQ(RunLoop(fixer, 300), 1);
    EXPECT_EQ(g_log.clicked, (std::vector<int>{kOverwrite}));
    TypeAlt('A');
    EXPECT_EQ(RunLoop(fixer, 300), 1);
    EXPECT_EQ(g_log.clicked, (std::vector<int>{kOverwrite, IDCANCEL}));
    // A letter nobody owns reaches no button through the fixer.
    TypeAlt('Q');
    EXPECT_EQ(RunLoop(fixer, 300), 0);
    EXPECT_EQ(g_log.clicked.size(), 2u);
}

TEST_F(ShortcutFixerOnADialog, TheChineseVariantWritesBracketGroupsAndCollectsNothingWithoutADialog)
{
    CShortcutFixer_Chinese fixer;
    fixer.FixShortcuts();
    EXPECT_EQ(fixer.GetControls(), nullptr);
    ::SetWindowTextW(::GetDlgItem(m_dialog, IDOK), L"打开(&O)");
    ::SetWindowTextW(::GetDlgItem(m_dialog, IDCANCEL), L"取消[&C]");
    fixer.SetDialog(m_dialog);
    fixer.FixShortcuts();
    EXPECT_EQ(Text(IDOK), L"打开[&A]");
    EXPECT_EQ(Text(IDCANCEL), L"取消[&B]");
    EXPECT_EQ(Text(kHelp), L"Hilfe[&C]");
}

} // namespace
