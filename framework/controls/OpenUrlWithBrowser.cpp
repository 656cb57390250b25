#include "OpenUrlWithBrowser.h"

#include <windows.h>
#include <shellapi.h>

#include <cwchar>

#include "BrowserCommand.h"
#include "win32/Handle.h"
#include "win32/TextConversion.h"

namespace {
constexpr DWORD kValueUnits = 1040;

// A command registered as REG_EXPAND_SZ names its program through the environment.
bool ExpandEnvironment(const std::wstring& text, std::wstring& expanded)
{
    const DWORD units = ::ExpandEnvironmentStringsW(text.c_str(), nullptr, 0);
    if (units == 0)
        return false;
    std::wstring buffer(units, L'\0');
    const DWORD written = ::ExpandEnvironmentStringsW(text.c_str(), buffer.data(), units);
    if (written == 0 || written > units)
        return false;
    buffer.resize(std::wcslen(buffer.c_str()));
    expanded = std::move(buffer);
    return true;
}

// The default value of HKEY_CLASSES_ROOT\`subKey`; false when it can't be read.
bool ReadClassDefault(const std::wstring& subKey, std::wstring& value)
{
    CRegKeyHandle key;
    if (::RegOpenKeyExW(HKEY_CLASSES_ROOT, subKey.c_str(), 0, KEY_QUERY_VALUE, key.Put()) != ERROR_SUCCESS)
        return false;
    std::wstring buffer(kValueUnits, L'\0');
    DWORD bytes = kValueUnits * sizeof(wchar_t);
    DWORD type = 0;
    if (::RegQueryValueExW(key.Get(), nullptr, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &bytes) !=
            ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return false;
    buffer.resize(bytes / sizeof(wchar_t));
    while (!buffer.empty() && buffer.back() == L'\0')
        buffer.pop_back();
    if (type == REG_EXPAND_SZ)
        return ExpandEnvironment(buffer, value);
    value = buffer;
    return true;
}
} // namespace

int OpenUrlWithBrowser(const std::wstring& address, int showCommand)
{
    if (address.empty() || !BrowserCommand::IsAcceptableAddress(address))
        return 0;
    std::wstring pageClass;
    if (!ReadClassDefault(L".htm", pageClass)) {
        const HINSTANCE result = ::ShellExecuteW(nullptr, L"explore", address.c_str(), nullptr, nullptr, showCommand);
        return static_cast<int>(reinterpret_cast<INT_PTR>(result));
    }
    std::wstring command;
    if (!ReadClassDefault(pageClass + L"\\shell\\open\\command", command))
        return 0;
    const std::wstring commandLine = BrowserCommand::Build(command, address);
    if (commandLine.empty())
        return 0;
    return static_cast<int>(::WinExec(WideToAnsi(commandLine).c_str(), static_cast<UINT>(showCommand)));
}
