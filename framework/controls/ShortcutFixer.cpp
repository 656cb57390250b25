#include "ShortcutFixer.h"

#include <deque>

namespace {
constexpr int kClassNameUnits = 1024;

std::wstring ClassNameOf(HWND window)
{
    wchar_t name[kClassNameUnits] = {};
    const int length = ::GetClassNameW(window, name, kClassNameUnits);
    return std::wstring(name, length > 0 ? static_cast<size_t>(length) : 0);
}

// The whole text: a text written back from a shorter buffer would come back cut.
std::wstring TextOf(HWND window)
{
    const int length = ::GetWindowTextLengthW(window);
    if (length <= 0)
        return std::wstring();
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const int copied = ::GetWindowTextW(window, text.data(), length + 1);
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return text;
}

DWORD StyleOf(HWND window)
{
    return static_cast<DWORD>(::GetWindowLongPtrW(window, GWL_STYLE));
}

HWND WindowOf(const SShortcutControl& control)
{
    return reinterpret_cast<HWND>(control.window);
}
} // namespace

CShortcutFixer::CShortcutFixer() : CShortcutFixer(std::make_unique<CShortcutChooser>())
{
}

CShortcutFixer::CShortcutFixer(std::unique_ptr<CShortcutChooser> chooser) : m_pChooser(std::move(chooser))
{
}

CShortcutFixer::~CShortcutFixer() = default;

void CShortcutFixer::SetExcludedIds(const std::vector<int>& ids)
{
    m_excludedIds = std::set<int>(ids.begin(), ids.end());
}

void CShortcutFixer::FixShortcuts()
{
    if (m_hDialog == nullptr || !::IsWindow(m_hDialog))
        return;
    static_cast<void>(StartControlList() && CollectControls() && ClassifyControls() && SelectControls() &&
                      GatherAndAssign() && WriteBack());
    ::PostMessageW(m_hDialog, kShortcutsFixed, 0, 0);
}

bool CShortcutFixer::StartControlList()
{
    m_pControls = std::make_unique<std::vector<SShortcutControl>>();
    return true;
}

bool CShortcutFixer::Offer(HWND control) const
{
    SControlOffer offer;
    ::SendMessageW(m_hDialog, kOfferControl, static_cast<WPARAM>(::GetDlgCtrlID(control)),
                   reinterpret_cast<LPARAM>(&offer));
    return offer.accept == 1 && m_excludedIds.count(::GetDlgCtrlID(control)) == 0;
}

// Breadth first: the dialog's children in z-order, then the children of those that have any.
bool CShortcutFixer::CollectControls()
{
    std::deque<HWND> parents{m_hDialog};
    while (!parents.empty()) {
        const HWND parent = parents.front();
        parents.pop_front();
        for (HWND child = ::GetWindow(parent, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
            if (Offer(child)) {
                SShortcutControl control;
                control.window = reinterpret_cast<std::uintptr_t>(child);
                control.parent = reinterpret_cast<std::uintptr_t>(parent);
                m_pControls->push_back(std::move(control));
            }
            if (::GetWindow(child, GW_CHILD) != nullptr)
                parents.push_back(child);
        }
    }
    return !m_pControls->empty();
}

bool CShortcutFixer::ClassifyControls()
{
    for (SShortcutControl& control : *m_pControls) {
        const HWND window = WindowOf(control);
        if (!::IsWindow(window))
            continue;
        control.style = StyleOf(window);
        control.className = ClassNameOf(window);
        control.kind = CShortcutChooser::KindOf(control.className, control.style);
        control.textRead = TextOf(window);
        control.newText = control.textRead;
    }
    return true;
}

bool CShortcutFixer::SelectControls()
{
    return MarkVisible() > 0 && MarkNeedingMnemonic();
}

// By the styles of the control and its parents below the dialog, not by what is on the
// screen: a dialog is fixed in WM_INITDIALOG, before it is shown.
bool CShortcutFixer::IsShownInDialog(HWND window) const
{
    for (HWND at = window; at != nullptr && at != m_hDialog; at = ::GetParent(at)) {
        if ((StyleOf(at) & WS_VISIBLE) == 0)
            return false;
    }
    return true;
}

int CShortcutFixer::MarkVisible()
{
    int visible = 0;
    for (SShortcutControl& control : *m_pControls) {
        if (IsShownInDialog(WindowOf(control))) {
            control.flags |= SShortcutControl::kVisible;
            ++visible;
        }
    }
    return visible;
}

bool CShortcutFixer::MarkNeedingMnemonic()
{
    for (SShortcutControl& control : *m_pControls)
        control.label = FindLabel(control);
    m_pChooser->MarkNeedingMnemonic(*m_pControls);
    return true;
}

bool CShortcutFixer::GatherAndAssign()
{
    m_pChooser->GatherAndAssign(*m_pControls);
    return true;
}

int CShortcutFixer::IndexOf(HWND window) const
{
    for (size_t i = 0; i < m_pControls->size(); ++i) {
        if (WindowOf((*m_pControls)[i]) == window)
            return static_cast<int>(i);
    }
    return -1;
}

SShortcutControl* CShortcutFixer::FindRecord(HWND window)
{
    const int index = m_pControls ? IndexOf(window) : -1;
    return index < 0 ? nullptr : &(*m_pControls)[static_cast<size_t>(index)];
}

int CShortcutFixer::FindLabel(const SShortcutControl& input) const
{
    for (HWND previous = ::GetWindow(WindowOf(input), GW_HWNDPREV); previous != nullptr;
         previous = ::GetWindow(previous, GW_HWNDPREV)) {
        const int kind = CShortcutChooser::KindOf(ClassNameOf(previous), StyleOf(previous));
        if (kind == input.kind)
            continue;
        if (kind == SShortcutControl::kStatic || kind == SShortcutControl::kCheckBox)
            return IndexOf(previous);
        return -1;
    }
    return -1;
}

bool CShortcutFixer::WriteBack()
{
    bool allWritten = true;
    for (const SShortcutControl& control : *m_pControls) {
        if (!control.Has(SShortcutControl::kChanged) || control.newText == control.textRead ||
            CShortcutChooser::KeepsItsText(control))
            continue;
        if (!::SetWindowTextW(WindowOf(control), control.newText.c_str()))
            allWritten = false;
    }
    return allWritten;
}

bool CShortcutFixer::HandleAltKey(const MSG& message)
{
    if (message.message != WM_SYSKEYDOWN || ::GetKeyState(VK_MENU) >= 0 || !m_pControls)
        return false;
    const WPARAM key = message.wParam;
    const bool letter = key >= 'A' && key <= 'Z';
    if (!letter && !(key >= '0' && key <= '9'))
        return false;
    const std::wstring wanted(1, static_cast<wchar_t>(letter ? key - 'A' + 'a' : key));
    for (const SShortcutControl& control : *m_pControls) {
        const HWND window = WindowOf(control);
        if (control.mnemonic != wanted || !::IsWindowVisible(window) || !::IsWindowEnabled(window))
            continue;
        MSG routed = message;
        routed.hwnd = window;
        ::IsDialogMessageW(::GetParent(window), &routed);
        return true;
    }
    return false;
}
