#include "UiDriver.h"

namespace UiDriver {

namespace {
struct SSearch
{
    DWORD processId;
    const std::wstring* className;
    const std::wstring* title;
    HWND found;
};

std::wstring ClassOf(HWND window)
{
    wchar_t name[256] = {};
    const int length = ::GetClassNameW(window, name, 256);
    return std::wstring(name, length > 0 ? static_cast<size_t>(length) : 0);
}

BOOL CALLBACK MatchWindow(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<SSearch*>(param);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId || !::IsWindowVisible(window))
        return TRUE;
    if (!search->className->empty() && ClassOf(window) != *search->className)
        return TRUE;
    if (!search->title->empty() && WindowText(window) != *search->title)
        return TRUE;
    search->found = window;
    return FALSE;
}

BOOL CALLBACK CollectText(HWND window, LPARAM param)
{
    reinterpret_cast<std::vector<std::wstring>*>(param)->push_back(WindowText(window));
    return TRUE;
}
} // namespace

HWND FindWindowOf(DWORD processId, const std::wstring& className, const std::wstring& title)
{
    SSearch search{processId, &className, &title, nullptr};
    ::EnumWindows(&MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForWindow(DWORD processId, const std::wstring& className, const std::wstring& title, DWORD timeoutMs)
{
    const DWORD start = ::GetTickCount();
    for (;;) {
        if (HWND found = FindWindowOf(processId, className, title))
            return found;
        if (::GetTickCount() - start >= timeoutMs)
            return nullptr;
        ::Sleep(50);
    }
}

std::wstring WindowText(HWND window)
{
    wchar_t text[2048] = {};
    DWORD_PTR length = 0;
    // WM_GETTEXT crosses process boundaries; GetWindowText would not read a control's text.
    if (!::SendMessageTimeoutW(window, WM_GETTEXT, 2048, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000,
                               &length))
        return std::wstring();
    return std::wstring(text, length < 2048 ? length : 2047);
}

std::wstring ControlText(HWND dialog, int id)
{
    const HWND control = ::GetDlgItem(dialog, id);
    return control != nullptr ? WindowText(control) : std::wstring();
}

std::vector<std::wstring> ChildTexts(HWND window)
{
    std::vector<std::wstring> texts;
    ::EnumChildWindows(window, &CollectText, reinterpret_cast<LPARAM>(&texts));
    return texts;
}

void PressButton(HWND dialog, int id)
{
    ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}

void SendEscape(HWND dialog)
{
    HWND target = ::GetDlgItem(dialog, IDCANCEL);
    if (target == nullptr)
        target = dialog;
    ::PostMessageW(target, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    ::PostMessageW(target, WM_KEYUP, VK_ESCAPE, static_cast<LPARAM>(0xC0010001));
}

bool WaitForTitle(HWND window, bool (*accept)(const std::wstring&), DWORD timeoutMs)
{
    const DWORD start = ::GetTickCount();
    for (;;) {
        if (accept(WindowText(window)))
            return true;
        if (!::IsWindow(window) || ::GetTickCount() - start >= timeoutMs)
            return false;
        ::Sleep(20);
    }
}

} // namespace UiDriver
