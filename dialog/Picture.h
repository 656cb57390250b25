#pragma once

#include <windows.h>
#include <ole2.h>
#include <olectl.h>

#include <cstddef>

// One decoded picture (BMP, GIF, JPEG, icon or metafile) that can draw itself.
class CPicture
{
public:
    CPicture() = default;
    virtual ~CPicture();
    CPicture(const CPicture&) = delete;
    CPicture& operator=(const CPicture&) = delete;

    // Decodes `size` bytes held in memory; true only when the system decoder succeeded.
    bool Load(const void* bytes, size_t size);
    // Draws the whole picture into the rectangle (x, y, width, height).
    bool Render(HDC hDC, int x, int y, int width, int height) const;

    IPicture* GetInterface() const { return m_pPicture; }
    // The picture's bitmap, or null when it holds none (or no picture is loaded).
    HBITMAP GetBitmapHandle() const;

private:
    void Release();

    IPicture* m_pPicture = nullptr;
};
