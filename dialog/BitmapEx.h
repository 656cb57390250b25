#pragma once

#include "win32/Bitmap.h"

// A bitmap that can make a deep copy of another bitmap; the copy is attached to
// the base, which owns it like any other bitmap.
class CBitmapEx : public CBitmap
{
public:
    CBitmapEx() = default;
    ~CBitmapEx() override = default;

    // Replaces this bitmap with a pixel copy of `source`; false leaves it empty.
    [[nodiscard]] bool CopyBitmap(const CBitmap* source);
    // Deletes the attached bitmap.
    void ReleaseBitmap();
};
