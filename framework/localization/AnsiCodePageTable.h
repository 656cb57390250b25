#pragma once

#include <cstdint>

// The ANSI code pages of the language table's languages, for hosts without
// Windows' locale data: the dictionary tool and the native build.
namespace AnsiCodePageTable {
// 0 for a language outside the language table.
unsigned Lookup(uint16_t langId);
} // namespace AnsiCodePageTable
