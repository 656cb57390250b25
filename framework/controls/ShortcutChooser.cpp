#include "ShortcutChooser.h"

#include <algorithm>

namespace {
bool EqualIgnoringCase(std::wstring_view a, std::wstring_view b)
{
    auto lower = [](wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [&](wchar_t x, wchar_t y) {
               return lower(x) == lower(y);
           });
}

bool IsInputKind(int kind)
{
    return kind == SShortcutControl::kComboBox || kind == SShortcutControl::kEdit ||
           (kind >= SShortcutControl::kDateTimePicker && kind <= SShortcutControl::kComboBoxEx);
}

bool IsButtonKind(int kind)
{
    return kind == SShortcutControl::kPushButton || kind == SShortcutControl::kCheckBox ||
           kind == SShortcutControl::kRadioButton;
}

// The first position from `from` on that holds `lower` right after `before`.
size_t FirstAfter(const std::wstring& text, size_t from, wchar_t lower, wchar_t before)
{
    for (size_t at = std::max<size_t>(from, 1); at < text.size(); ++at) {
        const wchar_t c = text[at] >= L'A' && text[at] <= L'Z' ? static_cast<wchar_t>(text[at] - L'A' + L'a') : text[at];
        if (c == lower && text[at - 1] == before)
            return at;
    }
    return std::wstring::npos;
}
} // namespace

CShortcutChooser::~CShortcutChooser() = default;

wchar_t CShortcutChooser::AsciiLower(wchar_t c)
{
    return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

int CShortcutChooser::KindOf(std::wstring_view className, std::uint32_t style)
{
    if (EqualIgnoringCase(className, L"Button")) {
        if ((style & 0x7u) == 0x7u)
            return SShortcutControl::kGroupBox;
        if ((style & 0x9u) == 0x9u)
            return SShortcutControl::kRadioButton;
        if ((style & 0x2u) != 0)
            return SShortcutControl::kCheckBox;
        return SShortcutControl::kPushButton;
    }
    static constexpr struct {
        const wchar_t* name;
        int kind;
    } kClasses[] = {
        {L"ComboBox", SShortcutControl::kComboBox},       {L"Edit", SShortcutControl::kEdit},
        {L"Static", SShortcutControl::kStatic},           {L"SysDateTimePick32", SShortcutControl::kDateTimePicker},
        {L"SysListView32", SShortcutControl::kListView},  {L"ListBox", SShortcutControl::kListBox},
        {L"ComboBoxEx32", SShortcutControl::kComboBoxEx},
    };
    for (const auto& entry : kClasses) {
        if (EqualIgnoringCase(className, entry.name))
            return entry.kind;
    }
    return SShortcutControl::kUnknown;
}

void CShortcutChooser::MarkNeedingMnemonic(std::vector<SShortcutControl>& controls)
{
    for (SShortcutControl& control : controls) {
        if (!control.Has(SShortcutControl::kVisible))
            continue;
        if (IsButtonKind(control.kind)) {
            control.flags |= SShortcutControl::kNeedsMnemonic;
        } else if (IsInputKind(control.kind)) {
            if (control.label < 0 || static_cast<size_t>(control.label) >= controls.size())
                continue;
            SShortcutControl& label = controls[static_cast<size_t>(control.label)];
            if (!KeepsItsText(label))
                label.flags |= SShortcutControl::kNeedsMnemonic;
        }
    }
    // Stripping comes after marking: a label lies before its input control in the list.
    for (SShortcutControl& control : controls) {
        if (control.Has(SShortcutControl::kNeedsMnemonic) || KeepsItsText(control))
            continue;
        if (RemoveMnemonics(control.newText) > 0)
            control.flags |= SShortcutControl::kChanged;
    }
}

void CShortcutChooser::GatherAndAssign(std::vector<SShortcutControl>& controls)
{
    std::vector<SShortcutControl*> chosen;
    for (SShortcutControl& control : controls) {
        if (!control.Has(SShortcutControl::kNeedsMnemonic))
            continue;
        if (control.newText.find(L'&') != std::wstring::npos && RemoveMnemonics(control.newText) > 0)
            control.flags |= SShortcutControl::kChanged;
        chosen.push_back(&control);
    }
    auto byLength = [](const SShortcutControl* a, const SShortcutControl* b) {
        return a->newText.size() < b->newText.size();
    };
    for (auto run = chosen.begin(); run != chosen.end();) {
        auto end = std::find_if(run, chosen.end(), [&](const SShortcutControl* c) { return c->parent != (*run)->parent; });
        std::stable_sort(run, end, byLength);
        run = end;
    }
    std::set<wchar_t> used;
    AssignMnemonics(chosen, used);
}

void CShortcutChooser::AssignMnemonics(const std::vector<SShortcutControl*>& controls, std::set<wchar_t>& used)
{
    for (SShortcutControl* control : controls) {
        std::wstring& text = control->newText;
        for (size_t scan = 0; scan < text.size(); ++scan) {
            const wchar_t candidate = AsciiLower(text[scan]);
            if (!IsSingleAlnum(std::wstring_view(&candidate, 1)) || used.count(candidate) != 0)
                continue;
            size_t at = FirstAfter(text, scan, candidate, L' ');
            if (at == std::wstring::npos)
                at = FirstAfter(text, scan, candidate, L'/');
            if (at == std::wstring::npos)
                at = scan;
            text.insert(at, 1, L'&');
            used.insert(candidate);
            control->mnemonic.assign(1, candidate);
            control->flags |= SShortcutControl::kChanged;
            break;
        }
    }
}

int CShortcutChooser::RemoveMnemonics(std::wstring& text)
{
    return RemoveSingleAmpersands(text);
}

bool CShortcutChooser::KeepsItsText(const SShortcutControl& control)
{
    return IsInputKind(control.kind) ||
           (control.kind == SShortcutControl::kStatic && (control.style & SShortcutControl::kStaticNoPrefix) != 0);
}

bool CShortcutChooser::IsSingleAlnum(std::wstring_view text)
{
    if (text.size() != 1)
        return false;
    const wchar_t c = text[0];
    return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9');
}

int CShortcutChooser::RemoveSingleAmpersands(std::wstring& text)
{
    int removed = 0;
    std::wstring result;
    result.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != L'&') {
            result += text[i];
        } else if (i + 1 < text.size() && text[i + 1] == L'&') {
            result += L"&&";
            ++i;
        } else {
            ++removed;
        }
    }
    text = std::move(result);
    return removed;
}

int CShortcutChooser::RemoveBracketGroups(std::wstring& text, wchar_t open, wchar_t close)
{
    int removed = 0;
    for (size_t at = text.find(open); at != std::wstring::npos; at = text.find(open, at)) {
        if (at + 3 < text.size() && text[at + 1] == L'&' && text[at + 2] != L'&' && text[at + 3] == close) {
            text.erase(at, 4);
            ++removed;
        } else {
            ++at;
        }
    }
    return removed;
}
