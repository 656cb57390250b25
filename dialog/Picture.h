#pragma once

#include <windows.h>
#include <ole2.h>
#include <olectl.h>

#include <cstddef>

#include "win32/ComPointer.h"

// One decoded picture (BMP, GIF, JPEG, icon or metafile) that can draw itself.
class CPicture
{
public:
    CPicture() = default;
    virtual ~CPicture() = default;
    CPicture(const CPicture&) = delete;
    CPicture& operator=(const CPicture&) = delete;

    // Decodes `size` bytes held in memory; true only when the system decoder succeeded.
    [[nodiscard]] bool Load(const void* bytes, size_t size);
    // Draws the whole picture into the rectangle (x, y, width, height).
    [[nodiscard]] bool Render(HDC hDC, int x, int y, int width, int height) const;

    IPicture* GetInterface() const { return m_pPicture.Get(); }
    // The picture's bitmap, or null when it holds none (or no picture is loaded).
    HBITMAP GetBitmapHandle() const;

private:
    CComPointer<IPicture> m_pPicture;
};
