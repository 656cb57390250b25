#include "ErrorTextBuffer.h"

#include <cstdio>
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
    char text[32];
    std::snprintf(text, sizeof(text), "\nError code: %x\n", static_cast<unsigned>(code));
    Append(text);
}
