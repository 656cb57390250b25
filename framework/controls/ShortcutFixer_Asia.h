#pragma once

#include "ShortcutChooser_Asia.h"
#include "ShortcutFixer.h"

// Writes mnemonics as "(&A)" after the text's last letter or digit.
class CShortcutFixer_Asia : public CShortcutFixer
{
public:
    CShortcutFixer_Asia();

    virtual std::wstring NextFreeLetter(std::set<wchar_t>& used);

protected:
    explicit CShortcutFixer_Asia(std::unique_ptr<CShortcutChooser_Asia> chooser);
};
