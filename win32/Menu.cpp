#include "Menu.h"

std::wstring CMenu::GetMenuStringByPosition(UINT position) const
{
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_STRING;
    if (!::GetMenuItemInfoW(m_hMenu, position, TRUE, &info) || info.cch == 0)
        return std::wstring();
    std::wstring text(info.cch + 1, L'\0');
    info.dwTypeData = text.data();
    info.cch = static_cast<UINT>(text.size());
    if (!::GetMenuItemInfoW(m_hMenu, position, TRUE, &info))
        return std::wstring();
    text.resize(info.cch);
    return text;
}

BOOL CMenu::SetMenuStringByPosition(UINT position, const std::wstring& text)
{
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_STRING;
    info.dwTypeData = const_cast<wchar_t*>(text.c_str());
    return ::SetMenuItemInfoW(m_hMenu, position, TRUE, &info);
}
