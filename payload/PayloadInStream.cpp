#include "PayloadInStream.h"

#include "PayloadResult.h"

bool CPayloadInStream::Open(const CPayloadPath& path)
{
    return m_file.Open(path, CFileStream::Mode::Read);
}

int CPayloadInStream::Read(void* buffer, size_t& size)
{
    const size_t wanted = size;
    size = 0;
    auto* bytes = static_cast<unsigned char*>(buffer);
    while (size < wanted) {
        const size_t step = wanted - size < kMaxSystemRead ? wanted - size : kMaxSystemRead;
        const size_t got = m_file.Read(bytes + size, step);
        size += got;
        if (got < step)
            return m_file.HasError() ? PayloadResult::kReadError : PayloadResult::kOk;
    }
    return PayloadResult::kOk;
}

int CPayloadInStream::Seek(uint32_t distance)
{
    return m_file.SeekForward(distance);
}

void CPayloadInStream::Close()
{
    // Nothing was written through this stream, so a failing close loses nothing.
    (void)m_file.Close();
}
