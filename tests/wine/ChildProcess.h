#pragma once

#include <windows.h>

#include <chrono>
#include <map>
#include <string>
#include <vector>

#include "win32/Handle.h"

// A program started with an exact command line, as the tests need: the host shell
// would cut its exit code to 8 bits and re-quote its arguments.
class CChildProcess
{
public:
    struct STopWindow
    {
        HWND hWnd;
        std::wstring className;
        std::wstring title;
    };

    // `environment` entries replace or add variables of this process's environment.
    bool Start(const std::wstring& commandLine, const std::wstring& currentDirectory = L"",
               const std::map<std::wstring, std::wstring>& environment = {});
    // The exit code, or -1 when the process is still running after `timeout` (it is killed then).
    DWORD WaitForExit(std::chrono::milliseconds timeout = std::chrono::seconds(60));
    // The same, telling a timeout apart from an exit code of -1.
    [[nodiscard]] bool WaitForExit(std::chrono::milliseconds timeout, DWORD& exitCode);
    // Like WaitForExit, closing every message box titled `boxTitle` on the way: a stub
    // whose checks pass goes on to extract, and one without a payload reports that.
    DWORD WaitForExitClosingBoxes(const std::wstring& boxTitle,
                                  std::chrono::milliseconds timeout = std::chrono::seconds(60));
    // Visible top-level windows of the process, polled until one appears or `timeout` ends.
    std::vector<STopWindow> WaitForWindows(std::chrono::milliseconds timeout) const;
    DWORD Id() const { return m_id; }
    HANDLE Handle() const { return m_process.Get(); }
    // Ends a process that is still running (a test that failed half-way).
    ~CChildProcess();

    // Texts of a window's children of the given class ("Static", "Button").
    static std::vector<std::wstring> ChildTexts(HWND hWnd, const std::wstring& className);
    static std::wstring WindowText(HWND hWnd);

private:
    CKernelHandle m_process;
    DWORD m_id = 0;
};
