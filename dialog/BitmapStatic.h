#pragma once

#include <memory>

#include "BitmapEx.h"
#include "win32/CriticalSection.h"
#include "win32/Static.h"

// A static control that owns one bitmap and paints it stretched over its client area.
class CBitmapStatic : public CStatic
{
public:
    CBitmapStatic();
    ~CBitmapStatic() override;

    // Replaces the held bitmap with a deep copy of `source` and repaints.
    void SetBitmap(const CBitmap& source);
    // Replaces the held bitmap with the bitmap resource 129; no repaint.
    void LoadDefaultBitmap();

    // Null before the first SetBitmap or LoadDefaultBitmap.
    const CBitmapEx* GetHeldBitmap() const { return m_pBitmap.get(); }

protected:
    void PreSubclassWindow() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void OnPaint();
    void PaintPicture();
    void InvalidateSiblingsAbove(const RECT& painted) const;

    std::unique_ptr<CBitmapEx> m_pBitmap;
    CCriticalSection m_lock;
};
