#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "ChildProcess.h"

// One run of an installer under test (a packed installer, or a stub with a scripted
// pipeline), started with an exact command line and watched to its exit code.
class CInstallerRun
{
public:
    // Folder of this test program (…\tests\wine\) and the build folder above it.
    static std::wstring TestFolder();
    static std::wstring BuildFolder();
    // The installers the host's packaging tool packed for these tests, and the folder
    // they were packed from.
    static std::wstring PackagesFolder();
    static std::wstring SampleFolder();
    // A fresh, empty scratch folder for one test, ending with a backslash.
    static std::wstring FreshScratch(const std::wstring& name);

    // Copies `stub` (or a packed installer) to `target` with another setup name.
    static bool PrepareStub(const std::wstring& stub, const std::wstring& target, const std::string& setupName);

    // Starts `exe` with `arguments` (appended after the quoted path), in `directory`,
    // with `environment` added to this process's variables.
    bool Start(const std::wstring& exe, const std::wstring& arguments, const std::wstring& directory,
               const std::map<std::wstring, std::wstring>& environment);
    // The full exit code; terminates the program and fails after `timeoutMs`.
    bool WaitForExit(DWORD timeoutMs, DWORD& exitCode);

    DWORD ProcessId() const { return m_child.Id(); }
    HANDLE ProcessHandle() const { return m_child.Handle(); }

private:
    CChildProcess m_child;
};

// Empty when every file under `expected` lies under `actual` with the same bytes and
// `actual` holds no other file; otherwise names the first difference.
std::string CompareTrees(const std::wstring& expected, const std::wstring& actual);

// Text of the tests' own paths, which are plain ASCII: anything else becomes '?'.
std::string Narrow(const std::wstring& text);
std::string Lower(std::string text);

// Reads a whole file as text; empty when it does not exist.
std::string ReadTextFile(const std::wstring& path);
bool FileExists(const std::wstring& path);
// The error log a quiet run wrote under `tempFolder` (its "OvraLog\OvraSFX*.log"),
// UTF-8 with its byte-order mark; empty when there is none.
std::string ReadErrorLog(const std::wstring& tempFolder);
// Waits for a file to appear and its writer to close it (a setup program not waited
// for writes it later).
bool WaitForFile(const std::wstring& path, DWORD timeoutMs);
// Polls `condition` until it holds; false when `timeoutMs` ran out first.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs);
