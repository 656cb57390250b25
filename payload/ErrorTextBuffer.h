#pragma once

#include <cstddef>
#include <string_view>

// The caller's 256-byte, 8-bit error text. Everything is appended and cut to fit,
// so the buffer always stays NUL-terminated whatever the texts are.
class CErrorTextBuffer
{
public:
    static constexpr size_t kSize = 256;

    explicit CErrorTextBuffer(char* buffer) : m_pBuffer(buffer) {}

    // "\nError: <message>\n"
    void AppendMessage(std::string_view message);
    // "\nError code: <code in lower-case hex>\n"
    void AppendCode(int code);
    void Append(std::string_view text);

private:
    char* m_pBuffer;
};
