#include "Wnd.h"

namespace {
constexpr wchar_t kObjectProperty[] = L"OvraCWnd";
CWnd::WindowGoneHook g_pfnWindowGone = nullptr;
}

CWnd::~CWnd()
{
    // An object that dies before its window must not be reached through it any more.
    if (m_hWnd != nullptr && ::IsWindow(m_hWnd)) {
        ::RemovePropW(m_hWnd, kObjectProperty);
        if (m_pfnSuper != nullptr)
            ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    }
}

void CWnd::SetWindowGoneHook(WindowGoneHook hook)
{
    g_pfnWindowGone = hook;
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd)
{
    return hWnd ? static_cast<CWnd*>(::GetPropW(hWnd, kObjectProperty)) : nullptr;
}

void CWnd::AttachObject(HWND hWnd)
{
    m_hWnd = hWnd;
    ::SetPropW(hWnd, kObjectProperty, this);
}

BOOL CWnd::DestroyWindow()
{
    return m_hWnd != nullptr && ::DestroyWindow(m_hWnd);
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) const
{
    return ::PostMessageW(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) const
{
    return ::SendMessageW(m_hWnd, message, wParam, lParam);
}

std::wstring CWnd::GetWindowText() const
{
    const int length = ::GetWindowTextLengthW(m_hWnd);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const int copied = ::GetWindowTextW(m_hWnd, text.data(), length + 1);
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return text;
}

void CWnd::SetWindowText(const std::wstring& text)
{
    ::SetWindowTextW(m_hWnd, text.c_str());
}

RECT CWnd::GetClientRect() const
{
    RECT rect{};
    ::GetClientRect(m_hWnd, &rect);
    return rect;
}

DWORD CWnd::GetStyle() const
{
    return static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_STYLE));
}

DWORD CWnd::GetExStyle() const
{
    return static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE));
}

namespace {
bool ModifyWindowLong(HWND hWnd, int index, DWORD remove, DWORD add, UINT frameFlags)
{
    const DWORD style = static_cast<DWORD>(::GetWindowLongPtrW(hWnd, index));
    const DWORD changed = (style & ~remove) | add;
    if (changed == style)
        return false;
    ::SetWindowLongPtrW(hWnd, index, static_cast<LONG_PTR>(changed));
    if (frameFlags != 0)
        ::SetWindowPos(hWnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | frameFlags);
    return true;
}
} // namespace

bool CWnd::ModifyStyle(DWORD remove, DWORD add, UINT frameFlags)
{
    return ModifyWindowLong(m_hWnd, GWL_STYLE, remove, add, frameFlags);
}

bool CWnd::ModifyStyleEx(DWORD remove, DWORD add, UINT frameFlags)
{
    return ModifyWindowLong(m_hWnd, GWL_EXSTYLE, remove, add, frameFlags);
}

BOOL CWnd::SubclassWindow(HWND hWnd)
{
    if (hWnd == nullptr || FromHandlePermanent(hWnd) != nullptr)
        return FALSE;
    AttachObject(hWnd);
    PreSubclassWindow();
    m_pfnSuper = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::SubclassProc)));
    return m_pfnSuper != nullptr;
}

BOOL CWnd::SubclassDlgItem(int id, CWnd* parent)
{
    return parent != nullptr && SubclassWindow(parent->GetDlgItem(id));
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcChain(message, wParam, lParam);
}

LRESULT CWnd::DefWindowProcChain(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_pfnSuper != nullptr)
        return ::CallWindowProcW(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcW(m_hWnd, message, wParam, lParam);
}

// Runs once the window is gone: the main window's end ends the message loop.
void CWnd::OnNcDestroyed()
{
    ::RemovePropW(m_hWnd, kObjectProperty);
    if (m_pfnSuper != nullptr)
        ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    m_hWnd = nullptr;
    m_pfnSuper = nullptr;
    if (g_pfnWindowGone != nullptr)
        g_pfnWindowGone(this);
    PostNcDestroy();
}

LRESULT CALLBACK CWnd::SubclassProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CWnd* wnd = FromHandlePermanent(hWnd);
    if (wnd == nullptr)
        return ::DefWindowProcW(hWnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        const LRESULT result = wnd->DefWindowProcChain(message, wParam, lParam);
        wnd->OnNcDestroyed();
        return result;
    }
    // No exception may unwind through the system's frames.
    try {
        return wnd->WindowProc(message, wParam, lParam);
    } catch (...) {
        return ::DefWindowProcW(hWnd, message, wParam, lParam);
    }
}
