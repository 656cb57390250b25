#pragma once

#include <windows.h>

#include <string>

class CWnd;

// The application object: one global instance, reached through AfxGetApp. The entry
// point calls InitInstance, runs the message loop while a main window exists, and
// returns what ExitInstance returns as the process exit code.
class CWinApp
{
public:
    CWinApp();
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    virtual BOOL InitInstance();
    virtual int ExitInstance();
    // Runs the message loop until the main window is destroyed; returns ExitInstance's code.
    virtual int Run();
    // Every framework message box goes through here, so a derived application can translate it.
    virtual int DoMessageBox(const std::wstring& text, UINT type, UINT helpId);

    HINSTANCE m_hInstance = nullptr;
    const wchar_t* m_lpCmdLine = L"";
    int m_nCmdShow = SW_SHOWNORMAL;
    CWnd* m_pMainWnd = nullptr;
    // The program's file name without extension: the caption of framework message boxes.
    std::wstring m_strAppName;
    // The executable's name without extension.
    std::wstring m_strExeName;
    // The help file: the program's path with ".hlp" until a help file for the language is found.
    std::wstring m_strHelpFilePath;

private:
    static void OnWindowGone(CWnd* window);
    void SetUpFromModule(HINSTANCE instance, const wchar_t* cmdLine, int cmdShow);

    friend int AfxWinMain(HINSTANCE instance, const wchar_t* cmdLine, int cmdShow);
};

CWinApp* AfxGetApp();
HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxGetResourceHandle();
// Null makes the program's own module the resource module again.
void AfxSetResourceHandle(HINSTANCE module);
int AfxMessageBox(const std::wstring& text, UINT type = MB_OK, UINT helpId = 0);
int AfxWinMain(HINSTANCE instance, const wchar_t* cmdLine, int cmdShow);
