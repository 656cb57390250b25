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
#include "framework/controls/ShortcutFixer_Asia.h"
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

TEST_F(ShortcutFixerOnADialog, ALongTextLosesItsMnemonicWholeAndTheUsersTextsStay)
{
    const std::wstring longText = L"&Optionen " + std::wstring(2000, L'o');
    ::SetWindowTextW(::GetDlgItem(m_dialog, kOptions), longText.c_str());
    Add(L"EDIT", L"Smith & Sons", kHidden + 1, WS_BORDER, 250, 190, false);
    Add(L"STATIC", L"R&D", kHidden + 2, SS_NOPREFIX, 10, 190);
    CShortcutFixer fixer;
    fixer.SetDialog(m_dialog);
    fixer.FixShortcuts();
    const int length = ::GetWindowTextLengthW(::GetDlgItem(m_dialog, kOptions));
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(::GetWindowTextW(::GetDlgItem(m_dialog, kOptions), text.data(), length + 1)));
    EXPECT_TRUE(text == longText.substr(1)) << length << " characters: the group box's text was cut";
    EXPECT_EQ(Text(kHidden + 1), L"Smith & Sons") << "a hidden edit";
    EXPECT_EQ(Text(kHidden + 2), L"R&D") << "a static that shows its ampersand";
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

// A Japanese dialog made from a template, created hidden and fixed in WM_INITDIALOG, as
// dialogs are: labels and buttons inside panels too, and texts that are not mnemonics
// (the user's, literal ampersands, a long text) are left as they are.
enum EJapaneseControl : int {
    kNameLabel = 200, kName, kRemark, kRangeLabel, kRangeFrom, kRangeTo, kPanel, kPanelLabel, kPanelEdit, kApply,
    kHiddenPanel, kHiddenButton, kHiddenEdit, kLiteral, kLongGroup
};

struct SInitDialogRun
{
    CShortcutFixer* fixer = nullptr;
    bool visibleDuringInit = true;
    std::map<int, int> textWrites;
};
SInitDialogRun* g_pRun = nullptr;
std::map<HWND, WNDPROC> g_originalProcs;

LRESULT CALLBACK CountingTextWrites(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SETTEXT && g_pRun != nullptr)
        ++g_pRun->textWrites[::GetDlgCtrlID(window)];
    return ::CallWindowProcW(g_originalProcs[window], window, message, wParam, lParam);
}

HWND AddChild(HWND parent, const wchar_t* windowClass, const std::wstring& text, int id, DWORD style, int y,
              bool visible = true)
{
    const HWND control = ::CreateWindowExW(0, windowClass, text.c_str(), WS_CHILD | (visible ? WS_VISIBLE : 0) | style,
                                           10, y, 150, 20, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                           ::GetModuleHandleW(nullptr), nullptr);
    g_originalProcs[control] = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CountingTextWrites)));
    return control;
}

const std::wstring kLongText = L"&" + std::wstring(1500, L'x') + L"(&Q)" + std::wstring(500, L'y');

INT_PTR CALLBACK JapaneseDialogProc(HWND dialog, UINT message, WPARAM, LPARAM)
{
    if (message != WM_INITDIALOG)
        return FALSE;
    AddChild(dialog, L"STATIC", L"ファイル名(&N):", kNameLabel, 0, 10);
    AddChild(dialog, L"EDIT", L"Smith & Sons", kName, WS_BORDER, 30);
    // A note in front of a label: the label's own kind comes first, the note is no label.
    AddChild(dialog, L"STATIC", L"注記", kRemark, 0, 50);
    AddChild(dialog, L"STATIC", L"範囲:", kRangeLabel, 0, 70);
    AddChild(dialog, L"EDIT", L"", kRangeFrom, WS_BORDER, 90);
    AddChild(dialog, L"EDIT", L"", kRangeTo, WS_BORDER, 110);
    const HWND panel = AddChild(dialog, L"STATIC", L"", kPanel, 0, 130);
    ::SetWindowPos(panel, nullptr, 0, 0, 300, 80, SWP_NOMOVE | SWP_NOZORDER);
    AddChild(panel, L"STATIC", L"名前:", kPanelLabel, 0, 0);
    AddChild(panel, L"EDIT", L"", kPanelEdit, WS_BORDER, 20);
    AddChild(panel, L"BUTTON", L"適用", kApply, BS_PUSHBUTTON, 40);
    const HWND hiddenPanel = AddChild(dialog, L"STATIC", L"", kHiddenPanel, 0, 220, false);
    AddChild(hiddenPanel, L"BUTTON", L"隠し(&H)", kHiddenButton, BS_PUSHBUTTON, 0);
    AddChild(dialog, L"EDIT", L"Tom & Jerry", kHiddenEdit, WS_BORDER, 250, false);
    AddChild(dialog, L"STATIC", L"R&D", kLiteral, SS_NOPREFIX, 270);
    AddChild(dialog, L"BUTTON", kLongText, kLongGroup, BS_GROUPBOX, 290);
    AddChild(dialog, L"BUTTON", L"OK", IDOK, BS_DEFPUSHBUTTON, 310);
    AddChild(dialog, L"BUTTON", L"キャンセル", IDCANCEL, BS_PUSHBUTTON, 330);
    g_pRun->visibleDuringInit = ::IsWindowVisible(dialog) != FALSE;
    g_pRun->fixer->SetDialog(dialog);
    g_pRun->fixer->FixShortcuts();
    return TRUE;
}

// An empty template: the controls are made in WM_INITDIALOG.
struct alignas(4) SEmptyTemplate
{
    DLGTEMPLATE dialog;
    WORD menu = 0;
    WORD windowClass = 0;
    WORD title = 0;
};

class ShortcutFixerInInitDialog : public ::testing::Test
{
protected:
    void TearDown() override
    {
        if (m_dialog != nullptr)
            ::DestroyWindow(m_dialog);
        g_pRun = nullptr;
        g_originalProcs.clear();
    }

    void Create(CShortcutFixer& fixer)
    {
        m_run.fixer = &fixer;
        g_pRun = &m_run;
        SEmptyTemplate dialogTemplate{};
        dialogTemplate.dialog.style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
        dialogTemplate.dialog.cx = 240;
        dialogTemplate.dialog.cy = 240;
        m_dialog = ::CreateDialogIndirectParamW(::GetModuleHandleW(nullptr), &dialogTemplate.dialog, nullptr,
                                                &JapaneseDialogProc, 0);
        ASSERT_NE(m_dialog, nullptr);
    }

    std::wstring Text(int id) const
    {
        HWND control = ::GetDlgItem(m_dialog, id);
        for (const int panel : {kPanel, kHiddenPanel}) {
            if (control == nullptr)
                control = ::GetDlgItem(::GetDlgItem(m_dialog, panel), id);
        }
        std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(control)) + 1, L'\0');
        text.resize(static_cast<size_t>(::GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
        return text;
    }

    SInitDialogRun m_run;
    HWND m_dialog = nullptr;
};

TEST_F(ShortcutFixerInInitDialog, TheAsiaVariantFixesAHiddenDialogAndItsPanels)
{
    CShortcutFixer_Asia fixer;
    Create(fixer);
    EXPECT_FALSE(m_run.visibleDuringInit) << "the dialog is not shown before WM_INITDIALOG returns";

    const std::map<int, std::wstring> expected = {
        // Short texts first, per parent: the dialog's own controls, then the panel's.
        {IDOK, L"OK(&A)"},     {kRangeLabel, L"範囲(&B):"}, {IDCANCEL, L"キャンセル(&C)"}, {kNameLabel, L"ファイル名(&D):"},
        {kApply, L"適用(&E)"}, {kPanelLabel, L"名前(&F):"},
    };
    for (const auto& [id, text] : expected)
        EXPECT_EQ(Text(id), text) << id;
    EXPECT_EQ(Text(kHiddenButton), L"隠し") << "a button in a hidden panel takes no mnemonic";
    const std::wstring longText = Text(kLongGroup);
    EXPECT_TRUE(longText == std::wstring(1500, L'x') + std::wstring(500, L'y')) << longText.size() << ": stripped, not cut";
    for (const auto& [id, text] : std::map<int, std::wstring>{
             {kName, L"Smith & Sons"}, {kRemark, L"注記"}, {kHiddenEdit, L"Tom & Jerry"}, {kLiteral, L"R&D"}}) {
        EXPECT_EQ(Text(id), text) << id;
        EXPECT_EQ(m_run.textWrites[id], 0) << id << ": an unchanged text is not written back";
    }
}

} // namespace
