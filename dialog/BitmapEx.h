#pragma once

#include "win32/Bitmap.h"

// A bitmap that can make, and then owns, a deep copy of another bitmap.
class CBitmapEx : public CBitmap
{
public:
    CBitmapEx() = default;
    ~CBitmapEx() override;

    CBitmapEx& operator=(const CBitmap& source);
    CBitmapEx& operator=(const CBitmapEx& source);

    // Replaces this bitmap with a pixel copy of `source`; false leaves it empty.
    bool CopyBitmap(const CBitmap* source);
    // Deletes the attached bitmap and forgets the copy.
    void ReleaseBitmap();

    bool IsCopyOwned() const { return m_bCopyOwned; }

private:
    bool m_bCopyOwned = false;
    HBITMAP m_hCopy = nullptr;
};
