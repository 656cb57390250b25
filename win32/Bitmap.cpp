#include "Bitmap.h"

CBitmap::~CBitmap() = default;

BOOL CBitmap::Attach(HBITMAP hBitmap)
{
    if (hBitmap == nullptr || m_hObject)
        return FALSE;
    m_hObject.Reset(hBitmap);
    return TRUE;
}

BOOL CBitmap::DeleteObject()
{
    if (!m_hObject)
        return FALSE;
    m_hObject.Reset();
    return TRUE;
}

bool CBitmap::GetBitmap(BITMAP* info) const
{
    return m_hObject && info != nullptr && ::GetObjectW(m_hObject.Get(), sizeof(BITMAP), info) == sizeof(BITMAP);
}
