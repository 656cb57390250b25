#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "PayloadPath.h"

// An owned runtime-library stream. Opens by the system's own path text, so that
// Windows builds use wide paths; positions are 64-bit on every platform.
class CFileStream
{
public:
    enum class Mode { Read, CreateReadWrite };

    CFileStream() = default;
    ~CFileStream();
    CFileStream(const CFileStream&) = delete;
    CFileStream& operator=(const CFileStream&) = delete;
    CFileStream(CFileStream&& other) noexcept : m_pFile(other.m_pFile) { other.m_pFile = nullptr; }
    CFileStream& operator=(CFileStream&& other) noexcept;

    // On failure returns false and leaves errno (the system error) as the runtime set it.
    [[nodiscard]] bool Open(const CPayloadPath& path, Mode mode);
    bool IsOpen() const { return m_pFile != nullptr; }

    // Reads up to size bytes; fewer means end of file or an error (see HasError).
    size_t Read(void* buffer, size_t size);
    [[nodiscard]] bool Write(const void* bytes, size_t size);
    [[nodiscard]] bool Flush();
    [[nodiscard]] bool SeekTo(uint64_t position);
    // Moves forward from the current position; returns 0 or the system error code.
    [[nodiscard]] int SeekForward(uint32_t distance);
    bool HasError() const;
    // Flushes and closes; false when either failed (buffered data may be lost).
    [[nodiscard]] bool Close();

private:
    std::FILE* m_pFile = nullptr;
};
