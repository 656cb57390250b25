#pragma once

#include <windows.h>

// Selects a GDI object into a context and puts the previous one back at scope end,
// so an owned object is never deleted while still selected.
class CSelectedObject
{
public:
    CSelectedObject(HDC hDC, HGDIOBJ object);
    ~CSelectedObject();
    CSelectedObject(const CSelectedObject&) = delete;
    CSelectedObject& operator=(const CSelectedObject&) = delete;

    bool IsSelected() const { return m_hPrevious != nullptr && m_hPrevious != HGDI_ERROR; }

private:
    HDC m_hDC;
    HGDIOBJ m_hPrevious;
};
