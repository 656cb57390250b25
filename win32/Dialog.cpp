#include "Dialog.h"

#include "WinApp.h"

CDialog::CDialog(UINT templateId) : m_nTemplateId(templateId)
{
}

CDialog::~CDialog()
{
    if (m_hWnd != nullptr && ::IsWindow(m_hWnd))
        ::DestroyWindow(m_hWnd);
}

bool CDialog::Create(HWND parent)
{
    const HWND hWnd = ::CreateDialogParamW(AfxGetResourceHandle(), MAKEINTRESOURCEW(m_nTemplateId), parent,
                                           &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
    return hWnd != nullptr;
}

BOOL CDialog::OnInitDialog()
{
    DoDataExchange();
    return TRUE;
}

void CDialog::OnOK()
{
    DestroyWindow();
}

void CDialog::OnCancel()
{
    DestroyWindow();
}

bool CDialog::OnCommand(WORD id, WORD /*code*/, HWND /*control*/)
{
    if (id == IDOK) {
        OnOK();
        return true;
    }
    if (id == IDCANCEL) {
        OnCancel();
        return true;
    }
    return false;
}

bool CDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (message == WM_COMMAND) {
        result = 0;
        return OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
    }
    return false;
}

void CDialog::DDX_Control(CDialog* dialog, int id, CWnd& control)
{
    // A control the template lacks stays unbound, and its operations do nothing.
    if (control.GetSafeHwnd() == nullptr)
        static_cast<void>(control.SubclassDlgItem(id, dialog));
}

namespace {
// These messages return their result directly instead of through DWLP_MSGRESULT.
bool ReturnsDirectly(UINT message)
{
    switch (message) {
    case WM_CTLCOLORMSGBOX: case WM_CTLCOLOREDIT: case WM_CTLCOLORLISTBOX: case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG: case WM_CTLCOLORSCROLLBAR: case WM_CTLCOLORSTATIC: case WM_COMPAREITEM:
    case WM_VKEYTOITEM: case WM_CHARTOITEM: case WM_QUERYDRAGICON: case WM_INITDIALOG:
        return true;
    default:
        return false;
    }
}
} // namespace

INT_PTR CDialog::Dispatch(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (!OnMessage(message, wParam, lParam, result))
        return FALSE;
    if (ReturnsDirectly(message))
        return static_cast<INT_PTR>(result);
    ::SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, result);
    return TRUE;
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    // No exception may unwind through the dialog manager's frames.
    try {
        if (message == WM_INITDIALOG) {
            auto* dialog = reinterpret_cast<CDialog*>(lParam);
            if (dialog == nullptr)
                return FALSE;
            dialog->AttachObject(hWnd);
            return dialog->OnInitDialog();
        }
        auto* dialog = static_cast<CDialog*>(FromHandlePermanent(hWnd));
        if (dialog == nullptr)
            return FALSE;
        if (message == WM_NCDESTROY) {
            dialog->OnNcDestroyed();
            return FALSE;
        }
        return dialog->Dispatch(message, wParam, lParam);
    } catch (...) {
        return FALSE;
    }
}
