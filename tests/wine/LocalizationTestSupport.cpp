#include "LocalizationTestSupport.h"

#include "LocalizationTestResources.h"
#include "framework/localization/Localization.h"
#include "framework/localization/UserInterfaceLocalization.h"
#include "resources/resource.h"

namespace {

thread_local std::wstring t_caughtText;
thread_local HWND t_caughtBox = nullptr;

constexpr int kMessageBoxTextId = 0xFFFF;

bool IsDialogWindow(HWND window)
{
    wchar_t className[16] = {};
    ::GetClassNameW(window, className, 16);
    return std::wstring(className) == L"#32770";
}

// The box's text is read as it is destroyed, not when it is activated: read at
// activation it came back empty now and then while another program held the foreground.
LRESULT CALLBACK CatchMessageBox(int code, WPARAM wParam, LPARAM lParam)
{
    const HWND window = reinterpret_cast<HWND>(wParam);
    if (code == HCBT_ACTIVATE && t_caughtBox == nullptr && IsDialogWindow(window)) {
        t_caughtBox = window;
        ::PostMessageW(window, WM_COMMAND, IDOK, 0);
    } else if (code == HCBT_DESTROYWND && window == t_caughtBox) {
        wchar_t text[512] = {};
        ::GetDlgItemTextW(window, kMessageBoxTextId, text, 512);
        t_caughtText = text;
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

INT_PTR CALLBACK TestDialogProc(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

} // namespace

CTestApp::CTestApp(int kind) : COfcWinApp(kind)
{
    m_hInstance = ::GetModuleHandleW(nullptr);
    if (COfcUserInterfaceLocalization* localization = GetLocalization())
        localization->SetDictionaryResourceId(IDR_DICTIONARY);
}

CMessageBoxCatcher::CMessageBoxCatcher()
    : m_hHook(::SetWindowsHookExW(WH_CBT, CatchMessageBox, nullptr, ::GetCurrentThreadId()))
{
    t_caughtText.clear();
    t_caughtBox = nullptr;
}

CMessageBoxCatcher::~CMessageBoxCatcher()
{
    if (m_hHook != nullptr)
        ::UnhookWindowsHookEx(m_hHook);
}

const std::wstring& CMessageBoxCatcher::Text() const
{
    return t_caughtText;
}

CTestDialog::CTestDialog()
    : m_hWnd(::CreateDialogParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_L10N_TEST_DIALOG), nullptr,
                                  TestDialogProc, 0))
{
}

CTestDialog::~CTestDialog()
{
    if (m_hWnd != nullptr)
        ::DestroyWindow(m_hWnd);
}

std::wstring CTestDialog::ItemText(int id) const
{
    wchar_t text[256] = {};
    ::GetDlgItemTextW(m_hWnd, id, text, 256);
    return text;
}

std::wstring CTestDialog::MenuText(UINT command) const
{
    wchar_t text[256] = {};
    ::GetMenuStringW(::GetMenu(m_hWnd), command, text, 256, MF_BYCOMMAND);
    return text;
}
