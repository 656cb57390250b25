#pragma once

#include <string>

#include "InstallLogName.h"

// The temporary folder, ending with a backslash; empty when the system yields none.
std::wstring TemporaryFolder();
// The current time in UTC, as the log names are stamped.
CInstallLogName::SUtcTime CurrentUtcTime();

// Creates "<temp>OvraLog\" and returns the log file path stamped with the UTC time;
// empty when the system yields no temporary path.
std::wstring BuildInstallLogPath();
