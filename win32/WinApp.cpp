#include "WinApp.h"

#include "Wnd.h"

namespace {
CWinApp* g_pCurrentApp = nullptr;
// Where resources come from when not the program itself (a language's satellite library).
HINSTANCE g_hResourceModule = nullptr;

std::wstring ModuleBaseName(HINSTANCE instance)
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(instance, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return L"";
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    const size_t slash = path.find_last_of(L"\\/");
    std::wstring name = slash == std::wstring::npos ? path : path.substr(slash + 1);
    const size_t dot = name.find_last_of(L'.');
    return dot == std::wstring::npos ? name : name.substr(0, dot);
}
std::wstring DefaultHelpPath(HINSTANCE instance)
{
    wchar_t path[MAX_PATH + 1] = {};
    const DWORD length = ::GetModuleFileNameW(instance, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return L"";
    std::wstring help(path, length);
    const size_t slash = help.find_last_of(L"\\/");
    const size_t dot = help.find_last_of(L'.');
    if (dot != std::wstring::npos && (slash == std::wstring::npos || dot > slash))
        help.resize(dot);
    return help + L".hlp";
}
} // namespace

CWinApp::CWinApp()
{
    g_pCurrentApp = this;
    CWnd::SetWindowGoneHook(&CWinApp::OnWindowGone);
}

// The main window's end ends the message loop.
void CWinApp::OnWindowGone(CWnd* window)
{
    CWinApp* app = AfxGetApp();
    if (app != nullptr && app->m_pMainWnd == window) {
        app->m_pMainWnd = nullptr;
        ::PostQuitMessage(0);
    }
}

CWinApp::~CWinApp()
{
    if (g_pCurrentApp == this)
        g_pCurrentApp = nullptr;
}

BOOL CWinApp::InitInstance()
{
    return TRUE;
}

int CWinApp::ExitInstance()
{
    return 0;
}

int CWinApp::Run()
{
    MSG msg;
    while (m_pMainWnd != nullptr) {
        const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0 || got == -1)
            break;
        const HWND main = m_pMainWnd ? m_pMainWnd->GetSafeHwnd() : nullptr;
        if (main != nullptr && ::IsDialogMessageW(main, &msg))
            continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return ExitInstance();
}

int CWinApp::DoMessageBox(const std::wstring& text, UINT type, UINT /*helpId*/)
{
    const HWND owner = m_pMainWnd ? m_pMainWnd->GetSafeHwnd() : nullptr;
    return ::MessageBoxW(owner, text.c_str(), m_strAppName.c_str(), type);
}

void CWinApp::SetUpFromModule(HINSTANCE instance, const wchar_t* cmdLine, int cmdShow)
{
    m_hInstance = instance;
    m_lpCmdLine = cmdLine ? cmdLine : L"";
    m_nCmdShow = cmdShow;
    m_strAppName = ModuleBaseName(instance);
    m_strExeName = m_strAppName;
    m_strHelpFilePath = DefaultHelpPath(instance);
}

CWinApp* AfxGetApp()
{
    return g_pCurrentApp;
}

HINSTANCE AfxGetInstanceHandle()
{
    return g_pCurrentApp ? g_pCurrentApp->m_hInstance : ::GetModuleHandleW(nullptr);
}

HINSTANCE AfxGetResourceHandle()
{
    return g_hResourceModule != nullptr ? g_hResourceModule : AfxGetInstanceHandle();
}

void AfxSetResourceHandle(HINSTANCE module)
{
    g_hResourceModule = module;
}

int AfxMessageBox(const std::wstring& text, UINT type, UINT helpId)
{
    if (g_pCurrentApp != nullptr)
        return g_pCurrentApp->DoMessageBox(text, type, helpId);
    return ::MessageBoxW(nullptr, text.c_str(), L"", type);
}

int AfxWinMain(HINSTANCE instance, const wchar_t* cmdLine, int cmdShow)
{
    CWinApp* app = AfxGetApp();
    if (app == nullptr)
        return -1;
    app->SetUpFromModule(instance, cmdLine, cmdShow);
    if (!app->InitInstance())
        return app->ExitInstance();
    return app->Run();
}
