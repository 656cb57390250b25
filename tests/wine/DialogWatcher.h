#pragma once

#include <windows.h>

#include <string>

// Finds a visible dialog window (a message box) of a thread from another thread;
// null when none appears within about `milliseconds`.
HWND WaitForThreadDialog(DWORD threadId, DWORD milliseconds);
// The text of a dialog's control.
std::wstring DialogItemText(HWND dialog, int id);
