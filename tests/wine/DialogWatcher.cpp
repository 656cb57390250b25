#include "DialogWatcher.h"

namespace {

BOOL CALLBACK FirstVisibleDialog(HWND hWnd, LPARAM param)
{
    wchar_t className[16] = {};
    ::GetClassNameW(hWnd, className, 16);
    if (std::wstring(className) != L"#32770" || !::IsWindowVisible(hWnd))
        return TRUE;
    *reinterpret_cast<HWND*>(param) = hWnd;
    return FALSE;
}

} // namespace

HWND WaitForThreadDialog(DWORD threadId, DWORD milliseconds)
{
    HWND found = nullptr;
    for (DWORD waited = 0; found == nullptr; waited += 50) {
        ::EnumThreadWindows(threadId, &FirstVisibleDialog, reinterpret_cast<LPARAM>(&found));
        if (found != nullptr || waited >= milliseconds)
            break;
        ::Sleep(50);
    }
    return found;
}

std::wstring DialogItemText(HWND dialog, int id)
{
    wchar_t text[1024] = {};
    ::GetDlgItemTextW(dialog, id, text, 1024);
    return text;
}
