#include "BitmapEx.h"

#include "win32/Handle.h"
#include "win32/SelectedObject.h"

void CBitmapEx::ReleaseBitmap()
{
    DeleteObject();
}

bool CBitmapEx::CopyBitmap(const CBitmap* source)
{
    ReleaseBitmap();
    if (source == nullptr || source == this || source->GetSafeHandle() == nullptr)
        return false;
    BITMAP info{};
    if (!source->GetBitmap(&info))
        return false;
    const CMemoryDCHandle sourceDC(::CreateCompatibleDC(nullptr));
    const CMemoryDCHandle copyDC(::CreateCompatibleDC(nullptr));
    if (!sourceDC || !copyDC)
        return false;
    COwnedBitmap copy(::CreateBitmap(info.bmWidth, info.bmHeight, info.bmPlanes, info.bmBitsPixel, info.bmBits));
    if (!copy)
        return false;
    {
        const CSelectedObject sourceSelection(sourceDC.Get(), source->GetSafeHandle());
        const CSelectedObject copySelection(copyDC.Get(), copy.Get());
        if (!sourceSelection.IsSelected() || !copySelection.IsSelected() ||
            !::BitBlt(copyDC.Get(), 0, 0, info.bmWidth, info.bmHeight, sourceDC.Get(), 0, 0, SRCCOPY))
            return false;
    }
    const HBITMAP handle = copy.Release();
    if (!Attach(handle)) {
        ::DeleteObject(handle);
        return false;
    }
    return true;
}
