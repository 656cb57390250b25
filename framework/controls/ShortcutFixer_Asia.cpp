#include "ShortcutFixer_Asia.h"

CShortcutFixer_Asia::CShortcutFixer_Asia() : CShortcutFixer_Asia(std::make_unique<CShortcutChooser_Asia>())
{
}

CShortcutFixer_Asia::CShortcutFixer_Asia(std::unique_ptr<CShortcutChooser_Asia> chooser)
    : CShortcutFixer(std::move(chooser))
{
}

std::wstring CShortcutFixer_Asia::NextFreeLetter(std::set<wchar_t>& used)
{
    return static_cast<CShortcutChooser_Asia&>(Chooser()).NextFreeLetter(used);
}
