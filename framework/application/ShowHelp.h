#pragma once

#include <windows.h>

#include <string>

class CWinApp;

// The vendor's page that the English-help notice links to.
extern const wchar_t kOfcVendorHelpAddress[];

// Shows help through `helpPath`: opens a file or address with the shell, first telling
// a user of another language once that only English help exists (a conditional box of
// the product line); hands ".hlp" files to the application's classic help; and says
// so when the target does not exist (`message`, or the framework's text when empty).
void ShowHelp(CWinApp* app, const std::wstring& helpPath, DWORD_PTR data, UINT command, const std::wstring& uiCulture,
              int productLineId, const std::wstring& message);

// Makes COfcWinApp::WinHelp show help through ShowHelp.
void EnableHelpDisplay();
