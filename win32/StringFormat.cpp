// The runtime's own formatter, not MinGW's ISO one, which reads "%s" as an 8-bit string.
#undef __USE_MINGW_ANSI_STDIO
#define __USE_MINGW_ANSI_STDIO 0

#include "StringFormat.h"

#include <cstdarg>
#include <cwchar>
#include <vector>

std::wstring FormatString(const wchar_t* format, ...)
{
    std::vector<wchar_t> buffer(256);
    // The runtime answers -1 when the buffer is too small; a text above 1 MiB is no message.
    while (buffer.size() <= (1u << 20)) {
        va_list args;
        va_start(args, format);
        const int length = _vsnwprintf(buffer.data(), buffer.size(), format, args);
        va_end(args);
        if (length >= 0 && static_cast<size_t>(length) < buffer.size())
            return std::wstring(buffer.data(), static_cast<size_t>(length));
        buffer.resize(buffer.size() * 2);
    }
    return std::wstring();
}
