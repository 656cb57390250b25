#pragma once

#include <windows.h>

// BeginPaint and EndPaint as one scope.
class CPaintDC
{
public:
    explicit CPaintDC(HWND hWnd);
    ~CPaintDC();
    CPaintDC(const CPaintDC&) = delete;
    CPaintDC& operator=(const CPaintDC&) = delete;

    HDC Get() const { return m_hDC; }
    const PAINTSTRUCT& PaintStruct() const { return m_ps; }

private:
    HWND m_hWnd;
    PAINTSTRUCT m_ps{};
    HDC m_hDC;
};
