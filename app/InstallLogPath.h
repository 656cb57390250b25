#pragma once

#include <string>

// Creates "<temp>OvraLog\" and returns the log file path stamped with the UTC time;
// empty when the system yields no temporary path.
std::wstring BuildInstallLogPath();
