#include "InstallLogPath.h"

#include <windows.h>

#include "InstallLogName.h"

namespace {
constexpr DWORD kTempPathUnits = 260;
}

std::wstring TemporaryFolder()
{
    wchar_t tempPath[kTempPathUnits + 1] = {};
    const DWORD length = ::GetTempPathW(kTempPathUnits, tempPath);
    if (length == 0 || length > kTempPathUnits || tempPath[0] == L'\0')
        return std::wstring();
    return tempPath;
}

CInstallLogName::SUtcTime CurrentUtcTime()
{
    SYSTEMTIME now{};
    ::GetSystemTime(&now);
    return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

std::wstring BuildInstallLogPath()
{
    const std::wstring tempPath = TemporaryFolder();
    if (tempPath.empty())
        return std::wstring();
    // An existing folder is fine; a folder that can't be made is the setup program's to notice.
    ::CreateDirectoryW(CInstallLogName::Folder(tempPath).c_str(), nullptr);
    return CInstallLogName::Path(tempPath, CurrentUtcTime());
}
