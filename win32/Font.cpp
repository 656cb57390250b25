#include "Font.h"

CFont::~CFont() = default;

BOOL CFont::Attach(HFONT hFont)
{
    if (hFont == nullptr || m_hObject)
        return FALSE;
    m_hObject.Reset(hFont);
    return TRUE;
}

BOOL CFont::DeleteObject()
{
    if (!m_hObject)
        return FALSE;
    m_hObject.Reset();
    return TRUE;
}

BOOL CFont::CreateFontIndirect(const LOGFONTW& description)
{
    DeleteObject();
    return Attach(::CreateFontIndirectW(&description));
}

bool CFont::GetLogFont(LOGFONTW* description) const
{
    return m_hObject && description != nullptr &&
           ::GetObjectW(m_hObject.Get(), sizeof(LOGFONTW), description) == sizeof(LOGFONTW);
}
