#pragma once

#include <windows.h>

#include <string>

// A menu handle borrowed from its window; the window destroys it.
class CMenu
{
public:
    explicit CMenu(HMENU hMenu) : m_hMenu(hMenu) {}

    HMENU GetSafeHmenu() const { return m_hMenu; }
    int GetMenuItemCount() const { return ::GetMenuItemCount(m_hMenu); }
    // The item's text by position; empty for separators and on failure.
    std::wstring GetMenuStringByPosition(UINT position) const;
    // Replaces the item's text by position, keeping its command or submenu.
    BOOL SetMenuStringByPosition(UINT position, const std::wstring& text);
    HMENU GetSubMenu(int position) const { return ::GetSubMenu(m_hMenu, position); }

private:
    HMENU m_hMenu;
};
