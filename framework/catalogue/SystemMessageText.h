#pragma once

#include <cstdint>
#include <string>

// The system's one-line message for a Win32 error number in the process's ANSI code
// page; empty when the system has none (and always on hosts other than Windows).
std::string SystemMessageAnsi(std::uint32_t error);
