#pragma once

#include <windows.h>

#include "Handle.h"

// A GDI bitmap object that owns the bitmap attached to it.
class CBitmap
{
public:
    CBitmap() = default;
    virtual ~CBitmap();
    CBitmap(const CBitmap&) = delete;
    CBitmap& operator=(const CBitmap&) = delete;

    HBITMAP GetSafeHandle() const { return m_hObject.Get(); }
    // Takes ownership; fails while another bitmap is attached.
    [[nodiscard]] BOOL Attach(HBITMAP hBitmap);
    HBITMAP Detach() { return m_hObject.Release(); }
    BOOL DeleteObject();
    // Fills `info`; false without a bitmap.
    [[nodiscard]] bool GetBitmap(BITMAP* info) const;

private:
    COwnedBitmap m_hObject;
};
