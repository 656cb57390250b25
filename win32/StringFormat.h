#pragma once

#include <string>

// printf-style formatting with the Windows runtime's rules for wide strings: "%s"
// takes a wide string. Translations keep their key's "%s", so the rule must hold.
std::wstring FormatString(const wchar_t* format, ...);
