#pragma once

#include <windows.h>

#include <string>

// A window owned by a C++ object. The object is found from its handle through a
// window property set when the window is created or subclassed and removed at
// WM_NCDESTROY, after which PostNcDestroy lets a self-owning window delete itself.
class CWnd
{
public:
    CWnd() = default;
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND GetSafeHwnd() const { return m_hWnd; }
    static CWnd* FromHandlePermanent(HWND hWnd);

    // Told of every window whose handle is gone, before its PostNcDestroy: how the
    // application learns that its main window has ended, without this layer
    // knowing the application.
    using WindowGoneHook = void (*)(CWnd* window);
    static void SetWindowGoneHook(WindowGoneHook hook);

    BOOL ShowWindow(int nCmdShow) { return ::ShowWindow(m_hWnd, nCmdShow); }
    BOOL UpdateWindow() { return ::UpdateWindow(m_hWnd); }
    BOOL DestroyWindow();
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    std::wstring GetWindowText() const;
    void SetWindowText(const std::wstring& text);
    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
    HWND GetParent() const { return ::GetParent(m_hWnd); }
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
    RECT GetClientRect() const;
    DWORD GetStyle() const;
    DWORD GetExStyle() const;
    // Both return whether the style changed; `frameFlags` non-zero recomputes the frame.
    bool ModifyStyle(DWORD remove, DWORD add, UINT frameFlags = 0);
    bool ModifyStyleEx(DWORD remove, DWORD add, UINT frameFlags = 0);
    BOOL RedrawWindow(UINT flags) { return ::RedrawWindow(m_hWnd, nullptr, nullptr, flags); }
    BOOL Invalidate(BOOL erase = TRUE) { return ::InvalidateRect(m_hWnd, nullptr, erase); }

    // Takes over an existing window (a dialog control): its messages reach WindowProc first.
    [[nodiscard]] BOOL SubclassWindow(HWND hWnd);
    [[nodiscard]] BOOL SubclassDlgItem(int id, CWnd* parent);

    HWND m_hWnd = nullptr;

protected:
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // The object is attached, the window procedure not yet replaced.
    virtual void PreSubclassWindow() {}
    // The window is gone; the object may delete itself here.
    virtual void PostNcDestroy() {}
    // Passes the current message to the window's original procedure.
    LRESULT DefWindowProcChain(UINT message, WPARAM wParam, LPARAM lParam);

    void AttachObject(HWND hWnd);

private:
    static LRESULT CALLBACK SubclassProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    void OnNcDestroyed();

    WNDPROC m_pfnSuper = nullptr;

    friend class CDialog;
};
