#pragma once

#include "ShortcutControl.h"

#include <set>
#include <string>
#include <string_view>
#include <vector>

// Decides the mnemonics of a dialog's controls from their records: which controls
// need one, which character each gets and how it is written into the text. This
// one writes "&" before a letter of the text; the variants write a bracket group.
class CShortcutChooser
{
public:
    virtual ~CShortcutChooser();

    static int KindOf(std::wstring_view className, std::uint32_t style);

    // Marks the controls that need a mnemonic (buttons, labels of input controls) and
    // strips the mnemonics of the others.
    void MarkNeedingMnemonic(std::vector<SShortcutControl>& controls);
    // Strips the existing mnemonics of the marked controls, lets short texts choose first
    // (per parent window) and assigns.
    void GatherAndAssign(std::vector<SShortcutControl>& controls);

    virtual void AssignMnemonics(const std::vector<SShortcutControl*>& controls, std::set<wchar_t>& used);
    // Removes the mnemonics of `text` ("&&" stays); returns how many went.
    virtual int RemoveMnemonics(std::wstring& text);
    virtual std::wstring GetBracketPair() const { return std::wstring(); }

    // An input control's text is the user's, and a static that shows "&" as it is has no
    // mnemonic to strip or to carry: neither text is ever changed.
    static bool KeepsItsText(const SShortcutControl& control);

    static bool IsSingleAlnum(std::wstring_view text);
    static bool IsClosingParenthesis(wchar_t c) { return c == L')'; }

protected:
    static int RemoveSingleAmpersands(std::wstring& text);
    // Removes every "(&x)" of the given pair, the group included.
    static int RemoveBracketGroups(std::wstring& text, wchar_t open, wchar_t close);
    static wchar_t AsciiLower(wchar_t c);
};
