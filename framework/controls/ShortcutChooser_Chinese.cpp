#include "ShortcutChooser_Chinese.h"

int CShortcutChooser_Chinese::RemoveMnemonics(std::wstring& text)
{
    const int groups = RemoveBracketGroups(text, L'(', L')') + RemoveBracketGroups(text, L'[', L']');
    return groups + RemoveSingleAmpersands(text);
}
