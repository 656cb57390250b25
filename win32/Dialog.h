#pragma once

#include "Wnd.h"

// A dialog from a template. The dialog procedure finds the object through the
// pointer handed to WM_INITDIALOG and loses it at WM_NCDESTROY. A modeless dialog
// ends by destroying its window, so OnOK and OnCancel do exactly that.
class CDialog : public CWnd
{
public:
    explicit CDialog(UINT templateId);
    ~CDialog() override;

    // Creates the window modeless; false when the template or the window failed.
    [[nodiscard]] bool Create(HWND parent = nullptr);

    UINT GetTemplateId() const { return m_nTemplateId; }

protected:
    // Binds controls to their objects; called by the base OnInitDialog.
    virtual void DoDataExchange() {}
    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    // A command from a control or an accelerator; the base routes IDOK and IDCANCEL.
    virtual bool OnCommand(WORD id, WORD code, HWND control);
    // Handles one message; return true with `result` set when handled.
    virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    // Binds a control of the template to its object.
    static void DDX_Control(CDialog* dialog, int id, CWnd& control);

private:
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);

    UINT m_nTemplateId;
};
