#include "Picture.h"

#include <cstring>

#include "win32/Handle.h"

bool CPicture::Load(const void* bytes, size_t size)
{
    m_pPicture.Reset();
    // OleLoadPicture reads a size of type LONG.
    if (bytes == nullptr || size == 0 || size > 0x7FFFFFFF)
        return false;
    CGlobalHandle block(::GlobalAlloc(GMEM_MOVEABLE, size));
    if (!block)
        return false;
    void* locked = ::GlobalLock(block.Get());
    if (locked == nullptr)
        return false;
    std::memcpy(locked, bytes, size);
    ::GlobalUnlock(block.Get());

    CComPointer<IStream> stream;
    if (FAILED(::CreateStreamOnHGlobal(block.Get(), TRUE, stream.Put())) || !stream)
        return false;
    static_cast<void>(block.Release()); // the stream frees it now
    const HRESULT result = ::OleLoadPicture(stream.Get(), static_cast<LONG>(size), FALSE, IID_IPicture,
                                            reinterpret_cast<void**>(m_pPicture.Put()));
    if (result != S_OK) {
        m_pPicture.Reset();
        return false;
    }
    return true;
}

bool CPicture::Render(HDC hDC, int x, int y, int width, int height) const
{
    if (hDC == nullptr || !m_pPicture)
        return false;
    OLE_XSIZE_HIMETRIC pictureWidth = 0;
    OLE_YSIZE_HIMETRIC pictureHeight = 0;
    m_pPicture->get_Width(&pictureWidth);
    m_pPicture->get_Height(&pictureHeight);
    RECT bounds{x, y, 0, 0};
    // Source origin and extent in the picture's bottom-up HIMETRIC convention.
    const HRESULT result =
        m_pPicture->Render(hDC, x, y, width, height, 0, pictureHeight, pictureWidth, -pictureHeight, &bounds);
    return SUCCEEDED(result);
}

HBITMAP CPicture::GetBitmapHandle() const
{
    if (!m_pPicture)
        return nullptr;
    OLE_HANDLE handle = 0;
    if (FAILED(m_pPicture->get_Handle(&handle)))
        return nullptr;
    // OLE_HANDLE is 32 bits wide; GDI handles fit in it on every Windows.
    return reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle));
}
