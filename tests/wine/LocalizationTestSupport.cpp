#include "LocalizationTestSupport.h"

#include "LocalizationTestResources.h"
#include "framework/localization/Localization.h"
#include "framework/localization/UserInterfaceLocalization.h"
#include "resources/resource.h"

namespace {

thread_local std::wstring t_caughtText;

constexpr int kMessageBoxTextId = 0xFFFF;

LRESULT CALLBACK CatchMessageBox(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_ACTIVATE) {
        const HWND box = reinterpret_cast<HWND>(wParam);
        wchar_t className[16] = {};
        ::GetClassNameW(box, className, 16);
        if (std::wstring(className) == L"#32770") {
            wchar_t text[512] = {};
            ::GetDlgItemTextW(box, kMessageBoxTextId, text, 512);
            t_caughtText = text;
            ::PostMessageW(box, WM_COMMAND, IDOK, 0);
        }
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
