#include "InstallLogPath.h"

#include <windows.h>

#include "InstallLogName.h"

namespace {
constexpr DWORD kTempPathUnits = 260;
}

std::wstring BuildInstallLogPath()
{
    wchar_t tempPath[kTempPathUnits + 1] = {};
    const DWORD length = ::GetTempPathW(kTempPathUnits, tempPath);
    if (length == 0 || length > kTempPathUnits || tempPath[0] == L'\0')
        return std::wstring();
    // An existing folder is fine; a folder that can't be made is the setup program's to notice.
    ::CreateDirectoryW(CInstallLogName::Folder(tempPath).c_str(), nullptr);
    SYSTEMTIME now{};
    ::GetSystemTime(&now);
    const CInstallLogName::SUtcTime time{now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
    return CInstallLogName::Path(tempPath, time);
}
