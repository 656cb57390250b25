#pragma once

#include <windows.h>

#include <string>

// The system's one-line text for a Win32 error code, without its line break;
// "error N" where the system has none.
std::wstring SystemErrorText(DWORD code);
