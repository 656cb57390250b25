#pragma once

#include "framework/files/PortableBaseWinPFile.h"

#include <cstdint>

// A file opened without the system's cache. The system then moves only whole sectors from
// sector-aligned positions and memory, so this object keeps its own position and length,
// moves data through a transfer buffer of the process's pool, reads and rewrites partial
// sectors, and cuts the file to its exact length when it is closed. In cached mode writes
// collect in the transfer buffer and reads are served from it.
class CPortableUnBufWinPFile : public CPortableBaseWinPFile
{
public:
    static constexpr int kNoTransferBuffer = 1784;
    static constexpr std::uint32_t kCachedMode = 1;

    CPortableUnBufWinPFile(CPathString::View path, int nMode, std::uint32_t nFlags, IFileErrorSink* pObserver,
                           IFileSystem& fileSystem);
    ~CPortableUnBufWinPFile() override;

    std::unique_ptr<PFile> Clone() override;
    [[nodiscard]] int Write(const void* pData, std::uint32_t nCount, std::uint32_t* pWritten) override;
    [[nodiscard]] int Read(void* pBuffer, std::uint32_t nCount, std::uint32_t* pRead) override;
    [[nodiscard]] int GetPosition(std::uint64_t* pPosition) override;
    [[nodiscard]] int Seek(int nOrigin, std::uint32_t nLow, std::int32_t nHigh) override;
    [[nodiscard]] int Close() override;
    [[nodiscard]] int Truncate() override;
    [[nodiscard]] int Open(int nMode) override;

    [[nodiscard]] int CloseFile() { return Close(); }
    [[nodiscard]] int Flush();

    std::uint64_t GetLogicalLength() const { return m_nLogicalLength; }
    std::uint32_t GetSectorSize() const { return m_nSectorSize; }
    std::uint32_t GetTransferSize() const { return m_nTransferSize; }

protected:
    const wchar_t* GetSourceName() const override;

private:
    int CachedRead(unsigned char* pBuffer, std::uint32_t nCount, std::uint32_t& nRead);
    int DirectRead(unsigned char* pBuffer, std::uint32_t nCount, std::uint32_t& nRead);
    int CachedWrite(const unsigned char* pData, std::uint32_t nCount, std::uint32_t& nWritten);
    int DirectWrite(const unsigned char* pData, std::uint32_t nCount, std::uint32_t& nWritten);

    // Opens with the stored mode if closed, keeping the logical position.
    int EnsureOpen();
    bool TakeTransferBuffer();
    void ReleaseTransferBuffer();
    int FailNoBuffer();
    int PositionAt(std::uint64_t nPosition, int nLocation);
    // A transfer of the transfer buffer at the file's position; a short read leaves zeros.
    int ReadBuffer(std::uint32_t nCount, std::uint32_t& nRead, int nLocation);
    int WriteBuffer(std::uint32_t nCount, int nLocation);
    void Advance(std::uint64_t nBytes);
    void ResetCache();
    std::uint64_t SectorStart(std::uint64_t nPosition) const { return nPosition - nPosition % m_nSectorSize; }

    unsigned char* m_pTransferBuffer = nullptr;
    std::uint32_t m_nCacheFill = 0;
    std::uint64_t m_nCacheStart = 0;
    bool m_bDirty = false;
    std::uint64_t m_nLogicalLength = 0;
    std::uint32_t m_nSectorSize = 512;
    std::uint32_t m_nTransferSize = 131072;
    std::uint32_t m_nPageSize = 4096;
    std::uint64_t m_nPosition = 0;
    bool m_bCached;
};
