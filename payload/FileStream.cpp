#include "FileStream.h"

#include <cerrno>

#ifdef _WIN32
#include <share.h>
#endif

CFileStream::~CFileStream()
{
    if (m_pFile)
        std::fclose(m_pFile);
}

CFileStream& CFileStream::operator=(CFileStream&& other) noexcept
{
    if (this != &other) {
        if (m_pFile)
            std::fclose(m_pFile);
        m_pFile = other.m_pFile;
        other.m_pFile = nullptr;
    }
    return *this;
}

bool CFileStream::Open(const CPayloadPath& path, Mode mode)
{
    if (m_pFile && !Close())
        return false;
#ifdef _WIN32
    const std::wstring systemPath = path.ForSystem().Native();
    if (systemPath.empty()) {
        errno = ENOENT;
        return false;
    }
    // Others may read the stub's file while we do, but nobody may change it.
    m_pFile = mode == Mode::Read ? _wfsopen(systemPath.c_str(), L"rb", _SH_DENYWR) : _wfopen(systemPath.c_str(), L"wb+");
#else
    m_pFile = std::fopen(path.c_str(), mode == Mode::Read ? "rb" : "wb+");
#endif
    return m_pFile != nullptr;
}

size_t CFileStream::Read(void* buffer, size_t size)
{
    return m_pFile ? std::fread(buffer, 1, size, m_pFile) : 0;
}

bool CFileStream::Write(const void* bytes, size_t size)
{
    return m_pFile && std::fwrite(bytes, 1, size, m_pFile) == size;
}

bool CFileStream::Flush()
{
    return m_pFile && std::fflush(m_pFile) == 0;
}

bool CFileStream::SeekTo(uint64_t position)
{
    if (!m_pFile)
        return false;
#ifdef _WIN32
    return _fseeki64(m_pFile, static_cast<__int64>(position), SEEK_SET) == 0;
#else
    return fseeko(m_pFile, static_cast<off_t>(position), SEEK_SET) == 0;
#endif
}

int CFileStream::SeekForward(uint32_t distance)
{
    if (!m_pFile)
        return EBADF;
    errno = 0;
#ifdef _WIN32
    const int result = _fseeki64(m_pFile, static_cast<__int64>(distance), SEEK_CUR);
#else
    const int result = fseeko(m_pFile, static_cast<off_t>(distance), SEEK_CUR);
#endif
    if (result == 0)
        return 0;
    return errno != 0 ? errno : EIO;
}

bool CFileStream::HasError() const
{
    return m_pFile && std::ferror(m_pFile) != 0;
}

bool CFileStream::Close()
{
    if (!m_pFile)
        return true;
    const bool ok = std::ferror(m_pFile) == 0 && std::fflush(m_pFile) == 0;
    const bool closed = std::fclose(m_pFile) == 0;
    m_pFile = nullptr;
    return ok && closed;
}
