#pragma once

#include <windows.h>

#include <string>

// Loads string-table text `id` in the user-interface language; FALSE leaves `text` as it was.
BOOL LoadLocalizedString(std::wstring& text, UINT id);
