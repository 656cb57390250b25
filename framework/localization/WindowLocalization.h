#pragma once

#include <windows.h>

class CLocalizationTextCache;
class CMenu;
class CWnd;

// Translates a window's text, its children's, its menu's and its combo-box items
// in place through the lookup table. `cache` (may be null) keeps the source texts.
void LocalizeWindow(CWnd* window, CLocalizationTextCache* cache);
void LocalizeWindow(HWND window, CLocalizationTextCache* cache);
// Translates every item of a menu and its submenus.
void LocalizeMenu(CMenu* menu);
