#pragma once

#include "framework/files/PortableBaseWinPFile.h"

#include <cstdint>

// A file opened without the system's cache. The system then moves only whole sectors from
// sector-aligned positions and memory, so this object keeps its own position and length,
// moves data through a transfer buffer of the process's pool, reads and rewrites partial
// sectors, and cuts the file to its exact length when it is closed. In cached mode writes
// collect in the transfer buffer and reads are served from it; the buffer then holds whole
// sectors of the file, so that it is written from where it is, and written bytes stay in it
// until the disk has taken them.
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
    // A close whose cached bytes could not be written leaves the file open with them.
    [[nodiscard]] int Close() override;
    // While open, the length the caller has written; the disk may hold whole sectors more.
    [[nodiscard]] int GetLength(std::uint64_t* pLength) override;
    [[nodiscard]] int Truncate() override;
    [[nodiscard]] int Open(int nMode) override;

    [[nodiscard]] int CloseFile() { return Close(); }
    [[nodiscard]] int Flush();

    std::uint64_t GetLogicalLength() const { return m_nLogicalLength; }
    std::uint32_t GetSectorSize() const { return m_nSectorSize; }
    std::uint32_t GetTransferSize() const { return m_nTransferSize; }

protected:
    const wchar_t* GetSourceName() const override;
    [[nodiscard]] int Discard() override;

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
    // Whole sectors of the file from `nFrom` into the transfer buffer at `nOffset`; the disk
    // must hold what was written before the file's end, and what lies behind it reads as
    // zeros.
    [[nodiscard]] int ReadSectors(std::uint32_t nOffset, std::uint64_t nFrom, std::uint32_t nCount, int nLocation);
    [[nodiscard]] int WriteSectors(std::uint32_t nOffset, std::uint32_t nCount, int nLocation);
    // The cached sectors from the end of those held up to `nTo`.
    [[nodiscard]] int LoadCacheUpTo(std::uint64_t nTo);
    [[nodiscard]] int LoadCacheSector(std::uint64_t nSector);
    void Advance(std::uint64_t nBytes);
    void ResetCache();
    // Lets the file go without writing the cache, at the length of what the disk holds.
    [[nodiscard]] int Abandon();
    [[nodiscard]] int CloseAndCut();
    [[nodiscard]] int CutTo(std::uint64_t nLength);
    std::uint64_t SectorStart(std::uint64_t nPosition) const { return nPosition - nPosition % m_nSectorSize; }
    std::uint64_t SectorEnd(std::uint64_t nPosition) const { return SectorStart(nPosition + m_nSectorSize - 1); }

    unsigned char* m_pTransferBuffer = nullptr;
    // Whole sectors from a sector's start; the dirty range lies inside them.
    std::uint32_t m_nCacheFill = 0;
    std::uint64_t m_nCacheStart = 0;
    bool m_bDirty = false;
    std::uint64_t m_nDirtyStart = 0;
    std::uint64_t m_nDirtyEnd = 0;
    std::uint64_t m_nLogicalLength = 0;
    // The part of the logical length that is on the disk; less while the cache extends it.
    std::uint64_t m_nStoredLength = 0;
    // The disk may hold more than the logical length: the last close could not cut it.
    bool m_bCutPending = false;
    std::uint32_t m_nSectorSize = 512;
    std::uint32_t m_nTransferSize = 131072;
    std::uint32_t m_nPageSize = 4096;
    std::uint64_t m_nPosition = 0;
    bool m_bCached;
};
