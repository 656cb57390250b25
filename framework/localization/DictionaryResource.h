#pragma once

#include <windows.h>

// Reads the DICTIONARY resource `id` of `module` into the process's merged
// dictionary: 1 when it was found and read completely, else 0.
int LoadMergedDictionary(HINSTANCE module, UINT id);
