#pragma once

#include <windows.h>

#include <string>

// 8-bit text of a code page (the thread's ANSI code page by default) to UTF-16 and back.
std::wstring AnsiToWide(const std::string& text, UINT codePage = CP_THREAD_ACP);
std::string WideToAnsi(const std::wstring& text, UINT codePage = CP_THREAD_ACP);
