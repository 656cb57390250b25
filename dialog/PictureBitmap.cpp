#include "PictureBitmap.h"

#include "BitmapEx.h"
#include "Picture.h"
#include "win32/Handle.h"
#include "win32/SelectedObject.h"

bool RenderPictureToBitmap(CBitmapEx* target, const CPicture& picture)
{
    const HBITMAP source = picture.GetBitmapHandle();
    if (target == nullptr || source == nullptr)
        return false;
    target->ReleaseBitmap();
    BITMAP info{};
    if (::GetObjectW(source, sizeof(info), &info) != sizeof(info))
        return false;
    const CMemoryDCHandle memory(::CreateCompatibleDC(nullptr));
    if (!memory)
        return false;
    const int screenBits = ::GetDeviceCaps(memory.Get(), BITSPIXEL);
    if (!target->Attach(::CreateBitmap(info.bmWidth, info.bmHeight, info.bmPlanes,
                                       static_cast<UINT>(screenBits), nullptr)))
        return false;
    const CSelectedObject selection(memory.Get(), target->GetSafeHandle());
    return picture.Render(memory.Get(), 0, 0, info.bmWidth, info.bmHeight);
}
