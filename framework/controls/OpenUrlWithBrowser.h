#pragma once

#include <string>

// Opens `address` with the browser registered for ".htm" pages, the address as one
// quoted argument; without such a registration the shell explores it. Returns what
// WinExec (or ShellExecuteW) returned: above 31 on success. An empty address, or one
// with a double quote or a control character, starts nothing and gives 0.
int OpenUrlWithBrowser(const std::wstring& address, int showCommand);
