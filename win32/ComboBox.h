#pragma once

#include "Wnd.h"

#include <string>

// A combo box control taken over by the program (SubclassDlgItem).
class CComboBox : public CWnd
{
public:
    int GetCount() const { return static_cast<int>(SendMessage(CB_GETCOUNT)); }
    int GetCurSel() const { return static_cast<int>(SendMessage(CB_GETCURSEL)); }
    int SetCurSel(int index) { return static_cast<int>(SendMessage(CB_SETCURSEL, static_cast<WPARAM>(index))); }
    int AddString(const std::wstring& text);
    void ResetContent() { SendMessage(CB_RESETCONTENT); }
    DWORD_PTR GetItemData(int index) const;
    int SetItemData(int index, DWORD_PTR data);
    // The item's text; empty when the index is out of range.
    std::wstring GetLBText(int index) const;
};
