#pragma once

#include <string>
#include <string_view>

// UTF-8 to the program's wide strings (UTF-16 where wchar_t has 16 bits). Ill-formed
// sequences become U+FFFD, as the system's conversion does without strict flags.
std::wstring WideFromUtf8(std::string_view text);
