#pragma once

#include <cstddef>
#include <cstdint>

#include "FileStream.h"

// The compressed payload inside the stub's own file: sequential reads and one
// forward seek to the stream offset.
class CPayloadInStream
{
public:
    static constexpr size_t kMaxSystemRead = 0x400000;

    [[nodiscard]] bool Open(const CPayloadPath& path);
    // Fills up to size bytes; size returns what was delivered (fewer at end of file).
    // 0, or 8 when the system reported a read error (size still counts what came).
    [[nodiscard]] int Read(void* buffer, size_t& size);
    // 0 or the system error code.
    [[nodiscard]] int Seek(uint32_t distance);
    void Close();

private:
    CFileStream m_file;
};
