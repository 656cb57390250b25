#include "ErrorTextBuffer.h"

#include <cstring>

void CErrorTextBuffer::Append(std::string_view text)
{
    if (!m_pBuffer)
        return;
    // The caller zero-fills the buffer; a buffer without a terminator counts as full.
    const size_t used = strnlen(m_pBuffer, kSize - 1);
    const size_t room = kSize - 1 - used;
    const size_t take = text.size() < room ? text.size() : room;
    std::memcpy(m_pBuffer + used, text.data(), take);
    m_pBuffer[used + take] = '\0';
}

void CErrorTextBuffer::AppendMessage(std::string_view message)
{
    Append("\nError: ");
    Append(message);
    Append("\n");
}

void CErrorTextBuffer::AppendCode(int code)
{
    // "%x" by hand: the stub carries no printf of its own (the runtime's is 30 KB).
    char digits[2 * sizeof(unsigned)];
    size_t count = 0;
    unsigned value = static_cast<unsigned>(code);
    do {
        digits[sizeof(digits) - ++count] = "0123456789abcdef"[value % 16];
        value /= 16;
    } while (value != 0);
    Append("\nError code: ");
    Append(std::string_view(digits + sizeof(digits) - count, count));
    Append("\n");
}
