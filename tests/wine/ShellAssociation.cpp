#include "ShellAssociation.h"

#include <windows.h>

#include "win32/Handle.h"

bool SetClassDefault(const std::wstring& subKey, const std::wstring& value)
{
    HKEY created = nullptr;
    if (::RegCreateKeyExW(HKEY_CLASSES_ROOT, subKey.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &created,
                          nullptr) != ERROR_SUCCESS)
        return false;
    const CRegKeyHandle key(created);
    return ::RegSetValueExW(key.Get(), nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                            static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}
