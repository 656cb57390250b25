#pragma once

#include <windows.h>

// GetDC and ReleaseDC as one scope; a null window gives the screen's context.
class CWindowDC
{
public:
    explicit CWindowDC(HWND hWnd);
    ~CWindowDC();
    CWindowDC(const CWindowDC&) = delete;
    CWindowDC& operator=(const CWindowDC&) = delete;

    HDC Get() const { return m_hDC; }

private:
    HWND m_hWnd;
    HDC m_hDC;
};
