#include "ShellAssociation.h"

#include <windows.h>
#include <shellapi.h>

#include <fstream>
#include <sstream>

#include "win32/Handle.h"
#include "win32/TextConversion.h"

bool SetClassDefault(const std::wstring& subKey, const std::wstring& value, unsigned long type)
{
    static_assert(REG_SZ == 1, "the header's default type");
    HKEY created = nullptr;
    if (::RegCreateKeyExW(HKEY_CLASSES_ROOT, subKey.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &created,
                          nullptr) != ERROR_SUCCESS)
        return false;
    const CRegKeyHandle key(created);
    return ::RegSetValueExW(key.Get(), nullptr, 0, type, reinterpret_cast<const BYTE*>(value.c_str()),
                            static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

std::vector<std::wstring> ReadRecordedArguments(const std::filesystem::path& record)
{
    std::ifstream file(record, std::ios::binary);
    std::stringstream content;
    content << file.rdbuf();
    const std::string text = content.str();
    const size_t start = text.find("CommandLine: ");
    if (start == std::string::npos)
        return {};
    const size_t end = text.find("\r\n", start);
    const std::wstring commandLine = AnsiToWide(text.substr(start + 13, end - start - 13), CP_UTF8);
    int count = 0;
    LPWSTR* arguments = ::CommandLineToArgvW(commandLine.c_str(), &count);
    const CLocalHandle owner(arguments);
    if (arguments == nullptr)
        return {};
    return std::vector<std::wstring>(arguments, arguments + count);
}
