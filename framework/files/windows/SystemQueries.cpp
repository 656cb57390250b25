#include "SystemQueries.h"

#include "win32/SystemErrorText.h"

#include <windows.h>

#include <mbctype.h>

namespace SystemQueries {

namespace {

constexpr DWORD kUserDefaultLanguage = 1024;
constexpr WORD kGreek = 0x08;
constexpr WORD kRussian = 0x19;
constexpr WORD kThai = 0x1E;

} // namespace

SMemoryStatus GetMemoryStatus()
{
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof(status);
    SMemoryStatus result;
    if (!::GlobalMemoryStatusEx(&status))
        return result;
    result.nTotalPhysical = status.ullTotalPhys;
    result.nAvailablePhysical = status.ullAvailPhys;
    result.nLoadPercent = status.dwMemoryLoad;
    return result;
}

void Sleep(std::uint32_t nMilliseconds)
{
    ::Sleep(nMilliseconds);
}

int GetLastErrorCode()
{
    return static_cast<int>(::GetLastError());
}

CPathString GetLastErrorText()
{
    const DWORD dwError = ::GetLastError();
    return CPathString(SystemErrorText(dwError, kUserDefaultLanguage).c_str());
}

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
int GetMajorVersion()
{
    return LOBYTE(LOWORD(::GetVersion()));
}

int GetMinorVersion()
{
    return HIBYTE(LOWORD(::GetVersion()));
}

bool IsNtFamily()
{
    return (::GetVersion() & 0x80000000u) == 0;
}
#pragma GCC diagnostic pop

bool NeedsShortNameFallback()
{
    // Runtimes differ in what they answer for a single-byte code page (0 or its number);
    // only a code page of more than one byte per character counts.
    const int nCodePage = ::_getmbcp();
    CPINFO info{};
    if (nCodePage != 0 && ::GetCPInfo(static_cast<UINT>(nCodePage), &info) && info.MaxCharSize > 1)
        return true;
    const WORD wPrimary = PRIMARYLANGID(::GetSystemDefaultLangID());
    return wPrimary == kGreek || wPrimary == kRussian || wPrimary == kThai;
}

} // namespace SystemQueries
