#include "BitmapStatic.h"

#include "resources/resource.h"
#include "win32/Handle.h"
#include "win32/PaintDC.h"
#include "win32/SelectedObject.h"
#include "win32/WinApp.h"

CBitmapStatic::CBitmapStatic() = default;

CBitmapStatic::~CBitmapStatic() = default;

void CBitmapStatic::PreSubclassWindow()
{
    ModifyStyle(0, SS_NOTIFY);
}

void CBitmapStatic::SetBitmap(const CBitmap& source)
{
    {
        const CCriticalSection::CScopedLock lock(m_lock);
        m_pBitmap = std::make_unique<CBitmapEx>();
        // A failed copy leaves the control empty, as with no picture at all.
        static_cast<void>(m_pBitmap->CopyBitmap(&source));
    }
    if (m_hWnd != nullptr)
        Invalidate(TRUE);
}

void CBitmapStatic::LoadDefaultBitmap()
{
    m_pBitmap = std::make_unique<CBitmapEx>();
    // A fresh object takes any handle; a missing resource leaves the control empty.
    static_cast<void>(
        m_pBitmap->Attach(::LoadBitmapW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDB_DEFAULT_BACKGROUND))));
}

// Siblings above this control (the transparent labels) draw over the picture. Not
// every system paints them after the siblings beneath, and while progress messages
// keep the queue busy (a slow machine) a pending WM_PAINT waits: once the picture
// is painted they paint again over it, at once.
void CBitmapStatic::InvalidateSiblingsAbove(const RECT& painted) const
{
    RECT paintedOnScreen = painted;
    ::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<POINT*>(&paintedOnScreen), 2);
    for (HWND sibling = ::GetWindow(m_hWnd, GW_HWNDPREV); sibling != nullptr;
         sibling = ::GetWindow(sibling, GW_HWNDPREV)) {
        if (!::IsWindowVisible(sibling))
            continue;
        RECT siblingRect{};
        RECT overlap{};
        ::GetWindowRect(sibling, &siblingRect);
        if (::IntersectRect(&overlap, &siblingRect, &paintedOnScreen))
            ::RedrawWindow(sibling, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    }
}

void CBitmapStatic::OnPaint()
{
    RECT update{};
    if (!::GetUpdateRect(m_hWnd, &update, FALSE))
        return;
    PaintPicture();
    InvalidateSiblingsAbove(update);
}

void CBitmapStatic::PaintPicture()
{
    const CCriticalSection::CScopedLock lock(m_lock);
    const CPaintDC paint(m_hWnd);
    const RECT client = GetClientRect();
    BITMAP info{};
    if (m_pBitmap && m_pBitmap->GetBitmap(&info)) {
        const CMemoryDCHandle memory(::CreateCompatibleDC(paint.Get()));
        const CSelectedObject selection(memory.Get(), m_pBitmap->GetSafeHandle());
        ::SetStretchBltMode(paint.Get(), HALFTONE);
        ::SetBrushOrgEx(paint.Get(), 0, 0, nullptr);
        ::StretchBlt(paint.Get(), 0, 0, client.right, client.bottom, memory.Get(), 0, 0, info.bmWidth,
                     info.bmHeight, SRCCOPY);
    } else {
        ::FillRect(paint.Get(), &client, static_cast<HBRUSH>(::GetStockObject(DKGRAY_BRUSH)));
    }
}

LRESULT CBitmapStatic::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_SIZE:
        Invalidate(FALSE);
        break;
    default:
        break;
    }
    return DefWindowProcChain(message, wParam, lParam);
}
