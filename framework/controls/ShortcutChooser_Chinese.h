#pragma once

#include "ShortcutChooser_Asia.h"

// Writes "[&A]"; strips the groups of both bracket kinds.
class CShortcutChooser_Chinese : public CShortcutChooser_Asia
{
public:
    int RemoveMnemonics(std::wstring& text) override;
    std::wstring GetBracketPair() const override { return L"[]"; }
};
