#include "OfcConditionalMessageBox.h"

#include "ConditionalMessageText.h"
#include "framework/catalogue/ProductCatalog.h"
#include "framework/localization/LocalizedString.h"
#include "win32/SelectedObject.h"
#include "win32/WinApp.h"
#include "win32/WindowDC.h"

#include <algorithm>
#include <array>

namespace {

constexpr int kStringCheckBox = 25004;

// The box being shown on this thread, handed from Show to the creation hook.
thread_local COfcConditionalMessageBox* t_pShowing = nullptr;

bool IsDialogWindow(HWND hWnd)
{
    wchar_t className[16] = {};
    return ::GetClassNameW(hWnd, className, 16) > 0 && std::wstring(className) == L"#32770";
}

RECT ClientRectOf(HWND control, HWND parent)
{
    RECT rect{};
    ::GetWindowRect(control, &rect);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

} // namespace

COfcConditionalMessageBox::COfcConditionalMessageBox(std::wstring valueName, int rootSelector, int productLineId,
                                                     unsigned flags)
    : m_bWithCheckBox((flags & kWithCheckBox) != 0), m_strValueName(std::move(valueName)),
      m_bMarkupMode((flags & kMarkup) != 0)
{
    OpenAnswerKey(rootSelector, productLineId);
    m_bSuppressed = m_nStoredAnswer != 0 && m_nStoredAnswer != IDCANCEL;
}

COfcConditionalMessageBox::~COfcConditionalMessageBox() = default;

// Nothing here is reported: without a key or value the box is simply shown every time.
void COfcConditionalMessageBox::OpenAnswerKey(int rootSelector, int productLineId)
{
    const HKEY root = rootSelector == 1 ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
    CProductCatalog catalog(false);
    std::wstring path;
    if (catalog.GetApplicationsSharedPath(rootSelector, productLineId, path) != 0)
        return;
    if (::RegCreateKeyExW(root, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE, nullptr,
                          m_hKey.Put(), nullptr) != ERROR_SUCCESS)
        return;
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof(value);
    if (::RegQueryValueExW(m_hKey.Get(), m_strValueName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) ==
            ERROR_SUCCESS &&
        type == REG_DWORD && size == sizeof(value))
        m_nStoredAnswer = static_cast<int>(value);
}

int COfcConditionalMessageBox::Show(const std::wstring& message, UINT type, UINT helpId)
{
    if (m_bSuppressed)
        return m_nStoredAnswer;
    std::wstring shown = message;
    if (m_bMarkupMode) {
        SConditionalMessageForms forms = DeriveConditionalMessageForms(message);
        m_strPlainText = std::move(forms.plain);
        m_strMarkupText = std::move(forms.markup);
        shown = m_strPlainText;
    }
    t_pShowing = this;
    m_hHook.Reset(::SetWindowsHookExW(WH_CBT, &COfcConditionalMessageBox::CreationHook, nullptr,
                                      ::GetCurrentThreadId()));
    m_nStoredAnswer = AfxMessageBox(shown, type, helpId);
    m_hHook.Reset();
    t_pShowing = nullptr;
    if (m_bSuppressed && m_nStoredAnswer != IDCANCEL)
        StoreAnswer();
    return m_nStoredAnswer;
}

// A failed write only means the box is shown again next time; the answer stands.
void COfcConditionalMessageBox::StoreAnswer()
{
    if (!m_hKey)
        return;
    const DWORD value = static_cast<DWORD>(m_nStoredAnswer);
    static_cast<void>(::RegSetValueExW(m_hKey.Get(), m_strValueName.c_str(), 0, REG_DWORD,
                                       reinterpret_cast<const BYTE*>(&value), sizeof(value)));
}

LRESULT CALLBACK COfcConditionalMessageBox::CreationHook(int code, WPARAM wParam, LPARAM lParam)
{
    COfcConditionalMessageBox* box = t_pShowing;
    if (code == HCBT_CREATEWND && box != nullptr && box->m_hWnd == nullptr) {
        const auto hWnd = reinterpret_cast<HWND>(wParam);
        if (IsDialogWindow(hWnd) && box->SubclassWindow(hWnd))
            t_pShowing = nullptr;
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT COfcConditionalMessageBox::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        // The box's own controls are not ours.
        m_hHook.Reset();
        break;
    case WM_INITDIALOG: {
        const LRESULT result = DefWindowProcChain(message, wParam, lParam);
        OnInitDialog();
        return result;
    }
    case WM_DESTROY:
        if (m_hCheckBox != nullptr)
            m_bSuppressed = ::SendMessageW(m_hCheckBox, BM_GETCHECK, 0, 0) == BST_CHECKED;
        break;
    default:
        break;
    }
    return DefWindowProcChain(message, wParam, lParam);
}

int COfcConditionalMessageBox::AttachMarkup()
{
    for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
        const int length = ::GetWindowTextLengthW(child);
        std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
        text.resize(static_cast<std::size_t>(::GetWindowTextW(child, text.data(), length + 1)));
        if (text != m_strPlainText)
            continue;
        m_pMarkup = std::make_unique<COfcXHTMLStatic>();
        if (!m_pMarkup->SubclassWindow(child))
            return 0;
        m_pMarkup->SetMarkup(m_strMarkupText);
        AdoptTextColours(child);
        // The system sized the text for its plain form; markup lines can be taller, and
        // not every system leaves the line the plain text's final line feed asks for.
        const RECT rect = ClientRectOf(child, m_hWnd);
        const int missing = m_pMarkup->GetMarkupHeight() - (rect.bottom - rect.top);
        if (missing <= 0)
            return 0;
        ::MoveWindow(child, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top + missing, FALSE);
        return missing;
    }
    return 0;
}

// The markup control fills its own background: with the colours the box gives its texts,
// so that it does not stand out from the box.
void COfcConditionalMessageBox::AdoptTextColours(HWND text)
{
    const CWindowDC windowDC(text);
    const HDC hDC = windowDC.Get();
    if (hDC == nullptr)
        return;
    const auto brush = reinterpret_cast<HBRUSH>(
        SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(hDC), reinterpret_cast<LPARAM>(text)));
    LOGBRUSH description{};
    const bool solid = brush != nullptr && ::GetObjectW(brush, sizeof(description), &description) ==
                                               static_cast<int>(sizeof(description)) &&
                       description.lbStyle == BS_SOLID;
    m_pMarkup->SetBackgroundColor(solid ? description.lbColor : ::GetBkColor(hDC));
    m_pMarkup->SetForegroundColor(::GetTextColor(hDC));
}

RECT COfcConditionalMessageBox::CheckBoxRect(HDC hDC, HFONT font, const std::wstring& text) const
{
    RECT units{7, 14, 12, 0};
    ::MapDialogRect(m_hWnd, &units);
    SIZE extent{};
    {
        const CSelectedObject selection(hDC, font);
        ::GetTextExtentPoint32W(hDC, text.c_str(), static_cast<int>(text.size()), &extent);
    }
    const RECT client = GetClientRect();
    RECT rect{};
    rect.left = client.left + units.left;
    rect.top = 0;
    rect.right = rect.left + extent.cx + units.right;
    rect.bottom = units.top;
    return rect;
}

void COfcConditionalMessageBox::OnInitDialog()
{
    const int markupHeight = m_bMarkupMode ? AttachMarkup() : 0;

    std::wstring checkText;
    static_cast<void>(LoadLocalizedString(checkText, kStringCheckBox));
    const auto font = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
    const RECT check = CheckBoxRect(CWindowDC(m_hWnd).Get(), font, checkText);

    RECT margin{7, 7, 0, 0};
    ::MapDialogRect(m_hWnd, &margin);
    const RECT client = GetClientRect();
    const int requiredWidth = (check.right - check.left) + 2 * margin.left;
    const int extraWidth = requiredWidth - (client.right - client.left);
    RECT window{};
    ::GetWindowRect(m_hWnd, &window);
    int windowWidth = window.right - window.left;
    int windowHeight = window.bottom - window.top;
    if (extraWidth > 0)
        windowWidth += extraWidth;

    int extraHeight = markupHeight;
    if (m_bWithCheckBox) {
        m_hCheckBox = ::CreateWindowExW(0, L"BUTTON", checkText.c_str(), WS_CHILD | WS_TABSTOP | BS_AUTOCHECKBOX,
                                        check.left, check.top, check.right - check.left, check.bottom - check.top,
                                        m_hWnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kCheckBoxId)),
                                        ::GetModuleHandleW(nullptr), nullptr);
        if (m_hCheckBox != nullptr)
            ::SendMessageW(m_hCheckBox, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        extraHeight += (check.bottom - check.top) + margin.top;
    }
    windowHeight += extraHeight;
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, windowWidth, windowHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

    static constexpr std::array<int, 10> kStandardIds{1, 2, 3, 4, 5, 6, 7, 8, 9, kPanelId};
    int lineTop = -1;
    for (const int id : kStandardIds) {
        const HWND control = GetDlgItem(id);
        if (control == nullptr)
            continue;
        RECT rect = ClientRectOf(control, m_hWnd);
        lineTop = lineTop < 0 ? rect.top : std::min<int>(lineTop, rect.top);
        if (extraWidth > 0)
            ::OffsetRect(&rect, extraWidth / 2, 0);
        ::OffsetRect(&rect, 0, extraHeight);
        if (id == kPanelId && extraWidth > 0)
            ::InflateRect(&rect, requiredWidth / 2, 0);
        ::MoveWindow(control, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
    }
    if (m_hCheckBox != nullptr && lineTop >= 0) {
        ::MoveWindow(m_hCheckBox, check.left, check.top + lineTop + markupHeight, check.right - check.left,
                     check.bottom - check.top, TRUE);
        ::ShowWindow(m_hCheckBox, SW_SHOW);
    }
}
