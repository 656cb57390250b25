#include "SelectedObject.h"

CSelectedObject::CSelectedObject(HDC hDC, HGDIOBJ object)
    : m_hDC(hDC), m_hPrevious(hDC != nullptr && object != nullptr ? ::SelectObject(hDC, object) : nullptr)
{
}

CSelectedObject::~CSelectedObject()
{
    if (IsSelected())
        ::SelectObject(m_hDC, m_hPrevious);
}
