#pragma once

#include "framework/files/BasicString.h"

#include <cstdint>

// What the library asks the system about itself.
namespace SystemQueries {

struct SMemoryStatus
{
    std::uint64_t nTotalPhysical = 0;
    std::uint64_t nAvailablePhysical = 0;
    std::uint32_t nLoadPercent = 0;
};

SMemoryStatus GetMemoryStatus();
void Sleep(std::uint32_t nMilliseconds);
int GetLastErrorCode();
// The system's text for the calling thread's last error, in the user's language.
CPathString GetLastErrorText();
int GetMajorVersion();
int GetMinorVersion();
bool IsNtFamily();
// Names may not survive the way to the runtime's narrow text: a multibyte code page is
// set, or the system speaks Greek, Russian or Thai. Entries are then reached by short name.
bool NeedsShortNameFallback();

} // namespace SystemQueries
