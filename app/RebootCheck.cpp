#include "RebootCheck.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include "PendingRenames.h"
#include "win32/Handle.h"

namespace {
constexpr wchar_t kRebootKey[] = L"SOFTWARE\\Ovra\\Setup\\Reboot";
constexpr wchar_t kRebootValue[] = L"RebootNeeded";
constexpr wchar_t kSessionManagerKey[] = L"SYSTEM\\CurrentControlSet\\Control\\Session Manager";
constexpr wchar_t kPendingRenamesValue[] = L"PendingFileRenameOperations";
constexpr DWORD kTempPathUnits = 261;

CRegKeyHandle OpenForReading(const wchar_t* subKey)
{
    CRegKeyHandle key;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, subKey, 0, KEY_READ, key.Put()) != ERROR_SUCCESS)
        return CRegKeyHandle();
    return key;
}

bool RebootMarkerExists()
{
    const CRegKeyHandle key = OpenForReading(kRebootKey);
    return key && ::RegQueryValueExW(key.Get(), kRebootValue, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

bool PendingRenameOutsideTemp()
{
    const CRegKeyHandle key = OpenForReading(kSessionManagerKey);
    if (!key)
        return false;
    DWORD type = 0;
    DWORD size = 0;
    if (::RegQueryValueExW(key.Get(), kPendingRenamesValue, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        type != REG_MULTI_SZ || size == 0)
        return false;

    wchar_t tempPath[kTempPathUnits + 1] = {};
    const DWORD tempLength = ::GetTempPathW(kTempPathUnits, tempPath);
    if (tempLength == 0 || tempLength > kTempPathUnits)
        return true;

    std::vector<uint8_t> data(size);
    DWORD returned = size;
    if (::RegQueryValueExW(key.Get(), kPendingRenamesValue, nullptr, &type, data.data(), &returned) != ERROR_SUCCESS)
        return true;
    if (returned < 2)
        return false;
    const std::u16string temp(reinterpret_cast<const char16_t*>(tempPath), tempLength);
    return CPendingRenames::AnyOutsideTemp(data.data(), std::min<size_t>(returned, data.size()), temp);
}
} // namespace

bool IsRebootPending()
{
    if (RebootMarkerExists())
        return true;
    return PendingRenameOutsideTemp();
}
