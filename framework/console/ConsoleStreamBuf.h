#pragma once

#include <streambuf>
#include <string>

// Standard output or error for text held in UTF-8. On a console it goes out as wide
// text, so every letter shows whatever the console's code page; a file or pipe gets
// the UTF-8 bytes as they are.
class CConsoleStreamBuf : public std::streambuf
{
public:
    enum class EStream
    {
        Output,
        Error
    };

    explicit CConsoleStreamBuf(EStream stream);
    ~CConsoleStreamBuf() override;
    CConsoleStreamBuf(const CConsoleStreamBuf&) = delete;
    CConsoleStreamBuf& operator=(const CConsoleStreamBuf&) = delete;

    // Whether the stream is a console (a redirected one, even to NUL, is not).
    bool IsConsole() const { return m_bConsole; }

protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* text, std::streamsize count) override;
    int sync() override;

private:
    [[nodiscard]] bool WritePending();

    void* m_stream;  // the process's standard handle: not ours to close
    bool m_bConsole;
    std::string m_pending;
};
