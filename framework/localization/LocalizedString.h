#pragma once

#include <windows.h>

#include <string>

// The string-table route through the lookup table: every user-visible string of
// the program is loaded here.

// Loads string `id` and translates it. FALSE when the string is missing (`text`
// unchanged) or no usable provider is installed (`text` holds the English string).
BOOL LoadLocalizedString(std::wstring& text, UINT id);
// The same, returning the text: empty when the string is missing.
std::wstring LoadText(UINT id);

// LoadStringW into a caller's buffer, then the translation in its place, cut to
// fit; the length of what the buffer holds, 0 when the string is missing.
int LoadStringLocalized(HINSTANCE module, UINT id, wchar_t* buffer, int capacity);

// Reads entry `id` straight from its string-table block and translates it; false
// when the entry is missing or empty or has no translation.
bool LoadTableString(HINSTANCE module, UINT id, std::wstring& text);

// The translation of any text; on a miss `out` is a copy of `text` and the result false.
bool TranslateText(const wchar_t* text, std::wstring& out);
