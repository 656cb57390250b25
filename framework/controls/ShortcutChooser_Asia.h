#pragma once

#include "ShortcutChooser.h"

// Writes a mnemonic as a Latin letter in a bracket group, "(&A)", after the last
// letter or digit of the text, so that trailing punctuation stays last.
class CShortcutChooser_Asia : public CShortcutChooser
{
public:
    void AssignMnemonics(const std::vector<SShortcutControl*>& controls, std::set<wchar_t>& used) override;
    int RemoveMnemonics(std::wstring& text) override;
    std::wstring GetBracketPair() const override { return L"()"; }

    // The first of A to Z not used yet (now used), upper case; empty when none is left.
    virtual std::wstring NextFreeLetter(std::set<wchar_t>& used);

    // Letters and digits of any script, without the wide-character tables of a C runtime,
    // so the choice is the same wherever it is made.
    static bool IsLetterOrDigit(wchar_t c);

private:
    bool KeepExistingGroup(SShortcutControl& control, std::set<wchar_t>& used) const;
};
