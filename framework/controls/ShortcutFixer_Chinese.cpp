#include "ShortcutFixer_Chinese.h"

#include "ShortcutChooser_Chinese.h"

CShortcutFixer_Chinese::CShortcutFixer_Chinese()
    : CShortcutFixer_Asia(std::make_unique<CShortcutChooser_Chinese>())
{
}
