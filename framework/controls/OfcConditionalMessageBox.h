#pragma once

#include <windows.h>

#include "OfcXHTMLStatic.h"
#include "win32/Handle.h"
#include "win32/Wnd.h"

#include <memory>
#include <string>

// A system message box that can carry a "do not show again" check box and a message in
// markup. A ticked box stores the answer under the product line's key shared by its
// applications; from then on the answer is returned without showing anything. It has
// no template of its own: a window-creation hook makes it the object of the system's
// message-box window, whose initialisation it then extends.
class COfcConditionalMessageBox : public CWnd
{
public:
    static constexpr unsigned kWithCheckBox = 0x1;
    static constexpr unsigned kMarkup = 0x2;
    static constexpr int kCheckBoxId = 25004;
    // The panel behind the text in the system's message-box template.
    static constexpr int kPanelId = 0xCAFE;

    COfcConditionalMessageBox(std::wstring valueName, int rootSelector, int productLineId, unsigned flags);
    ~COfcConditionalMessageBox() override;

    // The answer (IDOK, IDCANCEL, ...): the stored one while suppressed, else the user's.
    int Show(const std::wstring& message, UINT type, UINT helpId);

    int GetStoredAnswer() const { return m_nStoredAnswer; }
    bool IsSuppressed() const { return m_bSuppressed; }
    // Whether the registry key for the answers could be opened at construction.
    bool HasKey() const { return static_cast<bool>(m_hKey); }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    static LRESULT CALLBACK CreationHook(int code, WPARAM wParam, LPARAM lParam);
    void OpenAnswerKey(int rootSelector, int productLineId);
    void OnInitDialog();
    // Attaches the markup control to the box's text; the pixels its lines need beyond
    // the height the system gave the text.
    int AttachMarkup();
    void AdoptTextColours(HWND text);
    RECT CheckBoxRect(HDC hDC, HFONT font, const std::wstring& text) const;
    void StoreAnswer();

    CRegKeyHandle m_hKey;
    int m_nStoredAnswer = 0;
    bool m_bSuppressed = false;
    bool m_bWithCheckBox;
    std::wstring m_strValueName;
    std::unique_ptr<COfcXHTMLStatic> m_pMarkup;
    std::wstring m_strMarkupText;
    std::wstring m_strPlainText;
    bool m_bMarkupMode;
    HWND m_hCheckBox = nullptr;
    CHookHandle m_hHook;
};
