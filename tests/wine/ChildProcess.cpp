#include "ChildProcess.h"

#include <thread>

namespace {

std::wstring BuildEnvironmentBlock(const std::map<std::wstring, std::wstring>& overrides)
{
    std::map<std::wstring, std::wstring> variables;
    wchar_t* block = ::GetEnvironmentStringsW();
    for (const wchar_t* entry = block; entry && *entry; entry += wcslen(entry) + 1) {
        const std::wstring text = entry;
        const size_t equals = text.find(L'=', 1);
        if (equals != std::wstring::npos)
            variables[text.substr(0, equals)] = text.substr(equals + 1);
    }
    ::FreeEnvironmentStringsW(block);
    for (const auto& [name, value] : overrides)
        variables[name] = value;
    std::wstring result;
    for (const auto& [name, value] : variables)
        result += name + L"=" + value + L'\0';
    result += L'\0';
    return result;
}

struct SEnumState
{
    DWORD processId;
    std::vector<CChildProcess::STopWindow>* windows;
};

BOOL CALLBACK CollectTopWindow(HWND hWnd, LPARAM param)
{
    auto* state = reinterpret_cast<SEnumState*>(param);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(hWnd, &owner);
    if (owner == state->processId && ::IsWindowVisible(hWnd)) {
        wchar_t className[256] = {};
        ::GetClassNameW(hWnd, className, 256);
        state->windows->push_back({hWnd, className, CChildProcess::WindowText(hWnd)});
    }
    return TRUE;
}

} // namespace

bool CChildProcess::Start(const std::wstring& commandLine, const std::wstring& currentDirectory,
                          const std::map<std::wstring, std::wstring>& environment)
{
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    std::wstring mutableLine = commandLine;
    std::wstring envBlock = environment.empty() ? std::wstring() : BuildEnvironmentBlock(environment);
    const BOOL started = ::CreateProcessW(nullptr, mutableLine.data(), nullptr, nullptr, FALSE,
                                          CREATE_UNICODE_ENVIRONMENT, envBlock.empty() ? nullptr : envBlock.data(),
                                          currentDirectory.empty() ? nullptr : currentDirectory.c_str(), &startup, &info);
    if (!started)
        return false;
    CKernelHandle thread(info.hThread);
    m_process.Reset(info.hProcess);
    m_id = info.dwProcessId;
    return true;
}

CChildProcess::~CChildProcess()
{
    if (m_process && ::WaitForSingleObject(m_process.Get(), 0) == WAIT_TIMEOUT)
        ::TerminateProcess(m_process.Get(), 0xDEAD);
}

DWORD CChildProcess::WaitForExit(std::chrono::milliseconds timeout)
{
    DWORD code = 0;
    return WaitForExit(timeout, code) ? code : static_cast<DWORD>(-1);
}

bool CChildProcess::WaitForExit(std::chrono::milliseconds timeout, DWORD& exitCode)
{
    if (!m_process)
        return false;
    if (::WaitForSingleObject(m_process.Get(), static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0) {
        ::TerminateProcess(m_process.Get(), 0xDEAD);
        ::WaitForSingleObject(m_process.Get(), 5000);
        return false;
    }
    return ::GetExitCodeProcess(m_process.Get(), &exitCode) != FALSE;
}

DWORD CChildProcess::WaitForExitClosingBoxes(const std::wstring& boxTitle, std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (m_process && ::WaitForSingleObject(m_process.Get(), 100) == WAIT_TIMEOUT) {
        if (std::chrono::steady_clock::now() >= deadline)
            return WaitForExit(std::chrono::milliseconds(0));
        for (const STopWindow& window : WaitForWindows(std::chrono::milliseconds(0))) {
            if (window.title == boxTitle)
                ::PostMessageW(window.hWnd, WM_COMMAND, IDOK, 0);
        }
    }
    return WaitForExit(std::chrono::milliseconds(0));
}

std::vector<CChildProcess::STopWindow> CChildProcess::WaitForWindows(std::chrono::milliseconds timeout) const
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    std::vector<STopWindow> windows;
    do {
        windows.clear();
        SEnumState state{m_id, &windows};
        ::EnumWindows(&CollectTopWindow, reinterpret_cast<LPARAM>(&state));
        if (!windows.empty())
            return windows;
        if (m_process && ::WaitForSingleObject(m_process.Get(), 0) == WAIT_OBJECT_0)
            return windows;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    } while (std::chrono::steady_clock::now() < deadline);
    return windows;
}

std::wstring CChildProcess::WindowText(HWND hWnd)
{
    wchar_t text[4096] = {};
    ::SendMessageTimeoutW(hWnd, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000, nullptr);
    return text;
}

std::vector<std::wstring> CChildProcess::ChildTexts(HWND hWnd, const std::wstring& className)
{
    std::vector<std::wstring> texts;
    for (HWND child = ::GetWindow(hWnd, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
        wchar_t name[256] = {};
        ::GetClassNameW(child, name, 256);
        if (_wcsicmp(name, className.c_str()) == 0)
            texts.push_back(WindowText(child));
    }
    return texts;
}
