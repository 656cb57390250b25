#include "WindowsTime.h"

namespace WindowsTime {

static_assert(sizeof(FILETIME) == sizeof(SPortableFileTime));
static_assert(sizeof(SYSTEMTIME) == sizeof(SPortableSystemTime));

SPortableFileTime ToPortable(const FILETIME& fileTime)
{
    return {fileTime.dwLowDateTime, fileTime.dwHighDateTime};
}

FILETIME ToSystem(const SPortableFileTime& fileTime)
{
    return {fileTime.dwLowDateTime, fileTime.dwHighDateTime};
}

SPortableSystemTime ToPortable(const SYSTEMTIME& systemTime)
{
    return {systemTime.wYear,   systemTime.wMonth,  systemTime.wDayOfWeek, systemTime.wDay,
            systemTime.wHour,   systemTime.wMinute, systemTime.wSecond,    systemTime.wMilliseconds};
}

bool IsRecorded(const FILETIME& fileTime)
{
    return fileTime.dwLowDateTime != 0 || fileTime.dwHighDateTime != 0;
}

CPortableTime FromFileTime(const FILETIME& fileTime)
{
    return CPortableTime(ToPortable(fileTime));
}

} // namespace WindowsTime
