#pragma once

#include "ShortcutFixer_Asia.h"

// Writes mnemonics as "[&A]"; removes both bracket kinds.
class CShortcutFixer_Chinese : public CShortcutFixer_Asia
{
public:
    CShortcutFixer_Chinese();
};
