#pragma once

#include "framework/files/PortableTime.h"

#include <windows.h>

// The system's time records and the library's, which share their layout.
namespace WindowsTime {

SPortableFileTime ToPortable(const FILETIME& fileTime);
FILETIME ToSystem(const SPortableFileTime& fileTime);
SPortableSystemTime ToPortable(const SYSTEMTIME& systemTime);
// A file time of 0 is the system's "not recorded".
bool IsRecorded(const FILETIME& fileTime);
CPortableTime FromFileTime(const FILETIME& fileTime);

} // namespace WindowsTime
