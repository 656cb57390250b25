#include "ConsoleStreamBuf.h"

#include <windows.h>

#include <vector>

namespace {

constexpr size_t kFlushSize = 4096;

// The bytes before a UTF-8 sequence that the text does not yet hold whole.
size_t CompletePrefix(const std::string& text)
{
    size_t start = text.size();
    for (size_t back = 0; back < 4 && start > 0; ++back) {
        const auto byte = static_cast<unsigned char>(text[start - 1]);
        if ((byte & 0xC0) != 0x80) {
            const size_t needed = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
            return back + 1 >= needed ? text.size() : start - 1;
        }
        --start;
    }
    return text.size();
}

bool WriteAll(HANDLE stream, const char* bytes, size_t count)
{
    while (count > 0) {
        DWORD written = 0;
        if (!::WriteFile(stream, bytes, static_cast<DWORD>(count), &written, nullptr) || written == 0)
            return false;
        bytes += written;
        count -= written;
    }
    return true;
}

bool WriteConsoleText(HANDLE console, const std::string& text)
{
    if (text.empty())
        return true;
    const int units = ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (units <= 0)
        return false;
    std::vector<wchar_t> wide(static_cast<size_t>(units));
    ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), units);
    size_t done = 0;
    while (done < wide.size()) {
        DWORD written = 0;
        if (!::WriteConsoleW(console, wide.data() + done, static_cast<DWORD>(wide.size() - done), &written, nullptr) ||
            written == 0)
            return false;
        done += written;
    }
    return true;
}

} // namespace

CConsoleStreamBuf::CConsoleStreamBuf(EStream stream)
    : m_stream(::GetStdHandle(stream == EStream::Output ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE)), m_bConsole(false)
{
    DWORD mode = 0;
    m_bConsole = m_stream != nullptr && m_stream != INVALID_HANDLE_VALUE && ::GetConsoleMode(m_stream, &mode) != 0;
}

CConsoleStreamBuf::~CConsoleStreamBuf()
{
    // Nowhere is left to tell of a failure at the very end.
    static_cast<void>(WritePending());
}

CConsoleStreamBuf::int_type CConsoleStreamBuf::overflow(int_type c)
{
    if (traits_type::eq_int_type(c, traits_type::eof()))
        return sync() == 0 ? traits_type::not_eof(c) : traits_type::eof();
    m_pending += traits_type::to_char_type(c);
    if ((c == '\n' || m_pending.size() >= kFlushSize) && !WritePending())
        return traits_type::eof();
    return c;
}

std::streamsize CConsoleStreamBuf::xsputn(const char* text, std::streamsize count)
{
    m_pending.append(text, static_cast<size_t>(count));
    if ((m_pending.find('\n') != std::string::npos || m_pending.size() >= kFlushSize) && !WritePending())
        return 0;
    return count;
}

int CConsoleStreamBuf::sync()
{
    return WritePending() ? 0 : -1;
}

bool CConsoleStreamBuf::WritePending()
{
    if (m_stream == nullptr || m_stream == INVALID_HANDLE_VALUE)
        return false;
    const size_t whole = m_bConsole ? CompletePrefix(m_pending) : m_pending.size();
    const std::string text = m_pending.substr(0, whole);
    const bool written = m_bConsole ? WriteConsoleText(m_stream, text) : WriteAll(m_stream, text.data(), text.size());
    m_pending.erase(0, whole);
    return written;
}
