#pragma once

#include <windows.h>

#include <string>

#include "framework/application/OfcWinApp.h"

// An application object of a localization kind, as the program's global would be.
class CTestApp : public COfcWinApp
{
public:
    explicit CTestApp(int kind);
};

// Catches the next message box of this thread: remembers its text and closes it.
class CMessageBoxCatcher
{
public:
    CMessageBoxCatcher();
    ~CMessageBoxCatcher();
    CMessageBoxCatcher(const CMessageBoxCatcher&) = delete;
    CMessageBoxCatcher& operator=(const CMessageBoxCatcher&) = delete;

    const std::wstring& Text() const;

private:
    HHOOK m_hHook;
};

// A modeless instance of the test dialog, destroyed with the object.
class CTestDialog
{
public:
    CTestDialog();
    ~CTestDialog();
    CTestDialog(const CTestDialog&) = delete;
    CTestDialog& operator=(const CTestDialog&) = delete;

    HWND Get() const { return m_hWnd; }
    std::wstring ItemText(int id) const;
    std::wstring MenuText(UINT command) const;

private:
    HWND m_hWnd;
};
