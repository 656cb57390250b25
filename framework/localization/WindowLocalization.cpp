#include "WindowLocalization.h"

#include "Localization.h"
#include "LocalizationDictionary.h"
#include "LocalizationTextCache.h"
#include "UserInterfaceLocalization.h"
#include "win32/ComboBox.h"
#include "win32/Menu.h"
#include "win32/Wnd.h"

#include <commctrl.h>

#include <string>
#include <vector>

namespace {

std::wstring WindowText(HWND window)
{
    const int length = ::GetWindowTextLengthW(window);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const int copied = ::GetWindowTextW(window, text.data(), length + 1);
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return text;
}

void LocalizeOwnText(HWND window, CLocalizationTextCache* cache)
{
    const std::wstring current = WindowText(window);
    std::wstring source = current;
    if (cache != nullptr) {
        const auto found = cache->m_windowTexts.find(window);
        if (found != cache->m_windowTexts.end() && !found->second.empty())
            source = found->second;
        else
            cache->m_windowTexts[window] = current;
    }
    std::wstring translated;
    if (GetDictionary().Translate(source.c_str(), translated))
        ::SetWindowTextW(window, translated.c_str());
    else if (source != current)
        ::SetWindowTextW(window, source.c_str());
}

// An extended combo box with an edit or list part keeps its items' own texts.
bool IsExtendedComboBox(HWND window)
{
    wchar_t className[32] = {};
    ::GetClassNameW(window, className, static_cast<int>(std::size(className)));
    const LONG_PTR style = ::GetWindowLongPtrW(window, GWL_STYLE);
    return std::wstring(className) == WC_COMBOBOXEXW && (style & CBS_DROPDOWN) != 0;
}

void LocalizeComboBox(CComboBox& combo, CLocalizationTextCache* cache)
{
    const int count = combo.GetCount();
    std::vector<std::wstring> items;
    for (int i = 0; i < count; ++i) {
        // Items that carry data belong to the program; their texts stay.
        if (combo.GetItemData(i) != 0)
            return;
        items.push_back(combo.GetLBText(i));
    }
    const int selection = combo.GetCurSel();
    combo.ResetContent();
    if (cache != nullptr) {
        const HWND handle = combo.GetSafeHwnd();
        const auto found = cache->m_comboItems.find(handle);
        if (found != cache->m_comboItems.end())
            items = found->second;
        else
            cache->m_comboItems[handle] = items;
    }
    for (const std::wstring& item : items) {
        std::wstring translated;
        combo.AddString(GetDictionary().Translate(item.c_str(), translated) ? translated : item);
    }
    combo.SetCurSel(selection);
}

void LocalizeWindowTree(HWND window, CLocalizationTextCache* cache)
{
    LocalizeOwnText(window, cache);
    for (HWND child = ::GetWindow(window, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (!IsExtendedComboBox(child))
            LocalizeWindowTree(child, cache);
    }
    const LONG_PTR style = ::GetWindowLongPtrW(window, GWL_STYLE);
    const HMENU menu = (style & WS_CHILD) == 0 ? ::GetMenu(window) : nullptr;
    if (menu != nullptr && ::IsMenu(menu)) {
        CMenu wrapper(menu);
        LocalizeMenu(&wrapper);
    }
    if (auto* combo = dynamic_cast<CComboBox*>(CWnd::FromHandlePermanent(window)))
        LocalizeComboBox(*combo, cache);
}

} // namespace

void LocalizeWindow(HWND window, CLocalizationTextCache* cache)
{
    if (window == nullptr || !::IsWindow(window) || GetLocalizationKind() != kDictionaryLocalization)
        return;
    const COfcUserInterfaceLocalization* provider = GetLocalization();
    const CLanguage language = provider != nullptr ? provider->GetLanguage() : g_defaultLanguage;
    if (language.IsDefault() && cache == nullptr)
        return;
    LocalizeWindowTree(window, cache);
}

void LocalizeWindow(CWnd* window, CLocalizationTextCache* cache)
{
    if (window != nullptr)
        LocalizeWindow(window->GetSafeHwnd(), cache);
}

void LocalizeMenu(CMenu* menu)
{
    if (menu == nullptr || menu->GetSafeHmenu() == nullptr)
        return;
    const int count = menu->GetMenuItemCount();
    for (int position = 0; position < count; ++position) {
        const UINT index = static_cast<UINT>(position);
        std::wstring translated;
        const std::wstring text = menu->GetMenuStringByPosition(index);
        if (!text.empty() && GetDictionary().Translate(text.c_str(), translated))
            menu->SetMenuStringByPosition(index, translated);
        if (const HMENU submenu = menu->GetSubMenu(position)) {
            CMenu child(submenu);
            LocalizeMenu(&child);
        }
    }
}
