#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <vector>

// What windows said before they were first translated, so that they can be
// translated again into another language.
class CLocalizationTextCache
{
public:
    std::map<HWND, std::wstring> m_windowTexts;
    std::map<HWND, std::vector<std::wstring>> m_comboItems;
};
