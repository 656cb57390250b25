#pragma once

#include <windows.h>

#include <string>

// The system's one-line text for a Win32 error code, without its line break;
// "error N" where the system has none. Language 0 lets the system choose.
std::wstring SystemErrorText(DWORD code, DWORD language = 0);
