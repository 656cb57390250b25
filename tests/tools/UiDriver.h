#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Drives another program's windows the way a user would: finds a window by class
// or title, reads its controls' texts, presses buttons, sends Esc.
namespace UiDriver {
// A visible top-level window of `processId` whose class and title match (an empty
// filter matches anything); null when none appears within `timeoutMs`.
HWND WaitForWindow(DWORD processId, const std::wstring& className, const std::wstring& title, DWORD timeoutMs);
// The first such window present now, or null.
HWND FindWindowOf(DWORD processId, const std::wstring& className, const std::wstring& title);
std::wstring WindowText(HWND window);
std::wstring ControlText(HWND dialog, int id);
// Texts of all child windows, in Z order.
std::vector<std::wstring> ChildTexts(HWND window);
// The button's click as its parent receives it.
void PressButton(HWND dialog, int id);
// Esc on the control that has the focus, as the keyboard would send it.
void SendEscape(HWND dialog);
// Waits until the window's title satisfies `accept`; false on timeout.
bool WaitForTitle(HWND window, bool (*accept)(const std::wstring&), DWORD timeoutMs);
} // namespace UiDriver
