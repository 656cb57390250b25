#pragma once

#include <windows.h>

#include "Handle.h"

// A GDI font object that owns the font attached to it.
class CFont
{
public:
    CFont() = default;
    ~CFont();
    CFont(const CFont&) = delete;
    CFont& operator=(const CFont&) = delete;

    HFONT GetSafeHandle() const { return m_hObject.Get(); }
    [[nodiscard]] BOOL Attach(HFONT hFont);
    BOOL DeleteObject();
    [[nodiscard]] BOOL CreateFontIndirect(const LOGFONTW& description);
    [[nodiscard]] bool GetLogFont(LOGFONTW* description) const;

private:
    COwnedFont m_hObject;
};
