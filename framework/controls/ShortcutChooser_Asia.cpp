#include "ShortcutChooser_Asia.h"

namespace {
struct SRange
{
    wchar_t first;
    wchar_t last;
};

// Punctuation, symbols and blanks beyond ASCII that dialog texts use; every other
// character from U+00C0 on counts as a letter.
constexpr SRange kNotLetters[] = {
    {0x00D7, 0x00D7}, {0x00F7, 0x00F7}, {0x2000, 0x206F}, {0x2190, 0x23FF}, {0x2500, 0x27BF},
    {0x3000, 0x303F}, {0x30FB, 0x30FB}, {0xFE30, 0xFE4F}, {0xFF00, 0xFF0F}, {0xFF1A, 0xFF20},
    {0xFF3B, 0xFF40}, {0xFF5B, 0xFF65},
};
} // namespace

bool CShortcutChooser_Asia::IsLetterOrDigit(wchar_t c)
{
    if (c < 0x80)
        return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9');
    if (c < 0xC0)
        return false;
    for (const SRange& range : kNotLetters) {
        if (c >= range.first && c <= range.last)
            return false;
    }
    return true;
}

std::wstring CShortcutChooser_Asia::NextFreeLetter(std::set<wchar_t>& used)
{
    for (wchar_t letter = L'A'; letter <= L'Z'; ++letter) {
        const wchar_t lower = AsciiLower(letter);
        if (used.count(lower) == 0) {
            used.insert(lower);
            return std::wstring(1, letter);
        }
    }
    return std::wstring();
}

bool CShortcutChooser_Asia::KeepExistingGroup(SShortcutControl& control, std::set<wchar_t>& used) const
{
    const std::wstring pair = GetBracketPair();
    const std::wstring& text = control.newText;
    for (size_t at = text.find(pair[0]); at != std::wstring::npos; at = text.find(pair[0], at + 1)) {
        if (at + 3 >= text.size() || text[at + 1] != L'&' || text[at + 3] != pair[1])
            continue;
        const wchar_t lower = AsciiLower(text[at + 2]);
        if (used.count(lower) != 0)
            continue;
        used.insert(lower);
        control.mnemonic.assign(1, lower);
        return true;
    }
    return false;
}

void CShortcutChooser_Asia::AssignMnemonics(const std::vector<SShortcutControl*>& controls, std::set<wchar_t>& used)
{
    const std::wstring pair = GetBracketPair();
    for (SShortcutControl* control : controls) {
        if (KeepExistingGroup(*control, used))
            continue;
        std::wstring& text = control->newText;
        size_t after = text.size();
        while (after > 0 && !IsLetterOrDigit(text[after - 1]) && !IsClosingParenthesis(text[after - 1]))
            --after;
        if (after == 0)
            continue;
        const std::wstring letter = NextFreeLetter(used);
        if (letter.empty())
            continue;
        text.insert(after, std::wstring(1, pair[0]) + L'&' + letter + pair[1]);
        control->mnemonic.assign(1, AsciiLower(letter[0]));
        control->flags |= SShortcutControl::kChanged;
    }
}

int CShortcutChooser_Asia::RemoveMnemonics(std::wstring& text)
{
    return RemoveBracketGroups(text, L'(', L')') + RemoveSingleAmpersands(text);
}
