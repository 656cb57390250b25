#include "WindowDC.h"

CWindowDC::CWindowDC(HWND hWnd) : m_hWnd(hWnd), m_hDC(::GetDC(hWnd))
{
}

CWindowDC::~CWindowDC()
{
    if (m_hDC != nullptr)
        ::ReleaseDC(m_hWnd, m_hDC);
}
