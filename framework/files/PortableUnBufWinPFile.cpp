#include "framework/files/PortableUnBufWinPFile.h"

#include "framework/files/PortableWinPFile.h"
#include "framework/files/TransferBufferPool.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr const wchar_t* kSourceName = L"CPortableUnBufWinPFile.cpp";
constexpr const wchar_t* kNoBufferText = L"Invalid Ovra data buffer specified";

constexpr int kLocationSectorSize = 214;
constexpr int kLocationOpenRead = 308;
constexpr int kLocationOpenReadWrite = 353;
constexpr int kLocationWritePosition = 631;
constexpr int kLocationWriteHeadRead = 672;
constexpr int kLocationWriteHeadPosition = 693;
constexpr int kLocationWriteHead = 706;
constexpr int kLocationWriteBody = 747;
constexpr int kLocationWriteTailRead = 785;
constexpr int kLocationWriteTailPosition = 803;
constexpr int kLocationWriteTail = 815;
constexpr int kLocationCachedReadPosition = 941;
constexpr int kLocationCachedRead = 970;
constexpr int kLocationReadPosition = 1039;
constexpr int kLocationReadHead = 1065;
constexpr int kLocationReadBody = 1106;
constexpr int kLocationReadTail = 1141;
constexpr int kLocationClose = 1352;
constexpr int kLocationMove = 1510;
constexpr int kLocationNoBuffer = 1552;
constexpr int kLocationSystemRead = 1564;

// The system's "seek error": the file stands elsewhere than asked.
constexpr int kErrorSeek = 25;
// The system's "negative seek": a position before the start of the file.
constexpr int kErrorNegativeSeek = 131;
// The system's "end of file": the disk holds less of the file than was written to it.
constexpr int kErrorHandleEof = 38;
// The system's "disk full", for a write that took fewer bytes than it was given.
constexpr int kErrorDiskFull = 112;

} // namespace

CPortableUnBufWinPFile::CPortableUnBufWinPFile(CPathString::View path, int nMode, std::uint32_t nFlags,
                                               IFileErrorSink* pObserver, IFileSystem& fileSystem)
    : CPortableBaseWinPFile(path, nMode, pObserver, fileSystem), m_bCached((nFlags & kCachedMode) != 0)
{
    std::uint32_t nSectorSize = 0;
    const int nError = fileSystem.GetSectorSize(CPathString(path).c_str(), nSectorSize);
    if (nError != 0 || nSectorSize == 0)
        (void)Fail(nError != 0 ? nError : kErrorSeek, kLocationSectorSize);
    else
        m_nSectorSize = nSectorSize;
    m_nPageSize = std::max<std::uint32_t>(fileSystem.GetPageSize(), 1);
    const std::uint32_t nLargest = std::max<std::uint32_t>(TransferBufferPool::kBufferSize, m_nPageSize);
    // A transfer never exceeds a pool buffer, and always holds at least one sector.
    m_nTransferSize = std::min<std::uint32_t>(m_nPageSize * (nLargest / m_nPageSize), TransferBufferPool::kBufferSize);
    m_nTransferSize = std::max(m_nTransferSize - m_nTransferSize % m_nSectorSize, m_nSectorSize);
    (void)Open(nMode);
}

CPortableUnBufWinPFile::~CPortableUnBufWinPFile()
{
    // The length is settled here at the latest; a failure went to the observer. A cache the
    // disk would not take is given up, and the file keeps what it holds without padding.
    if (Close() != 0 && IsOpen())
        (void)Abandon();
}

const wchar_t* CPortableUnBufWinPFile::GetSourceName() const
{
    return kSourceName;
}

std::unique_ptr<PFile> CPortableUnBufWinPFile::Clone()
{
    const std::uint64_t nPosition = m_nPosition;
    (void)Close();
    auto pClone = std::make_unique<CPortableUnBufWinPFile>(GetPath().GetView(), GetMode(), 0, nullptr, FileSystem());
    pClone->m_nPosition = nPosition;
    return pClone;
}

int CPortableUnBufWinPFile::Open(int nMode)
{
    if (int nResult = 0; OpenIsSettled(nMode, nResult))
        return nResult;
    m_nPosition = 0;
    ResetCache();
    using R = SFileOpenRequest;
    R request;
    request.bNoBuffering = true;
    int nLocation = kLocationOpenRead;
    switch (nMode) {
    case FileMode::kRead:
        request.access = R::EAccess::Read;
        request.bShareRead = true;
        request.disposition = R::EDisposition::OpenExisting;
        request.hint = R::EHint::Sequential;
        break;
    case FileMode::kWrite:
    case FileMode::kReadWrite:
        request.access = R::EAccess::ReadWrite;
        request.disposition = R::EDisposition::OpenAlways;
        request.hint = R::EHint::Random;
        nLocation = kLocationOpenReadWrite;
        break;
    default:
        SetLastError(FileResult::kInvalidOpenMode);
        return FileResult::kInvalidOpenMode;
    }
    // A file whose cut failed at its last close would otherwise read its sectors' padding
    // as written bytes.
    if (m_bCutPending) {
        if (const int nCut = CutTo(m_nLogicalLength); nCut != 0)
            return nCut;
    }
    const int nError = OpenDevice(request, nLocation);
    if (nError != 0)
        return nError;
    std::uint64_t nSize = 0;
    if (const int nSizeError = Device().GetSize(nSize); nSizeError != 0) {
        // Without its length the file could be neither read nor cut right at its close.
        (void)CloseDevice(kLocationClose);
        return Fail(nSizeError, nLocation);
    }
    m_nLogicalLength = nSize;
    m_nStoredLength = nSize;
    return 0;
}

int CPortableUnBufWinPFile::EnsureOpen()
{
    if (IsOpen())
        return 0;
    const std::uint64_t nPosition = m_nPosition;
    const int nError = Open(GetMode());
    m_nPosition = nPosition;
    return nError;
}

void CPortableUnBufWinPFile::ResetCache()
{
    m_nCacheFill = 0;
    m_nCacheStart = 0;
    m_bDirty = false;
    m_nDirtyStart = 0;
    m_nDirtyEnd = 0;
}

bool CPortableUnBufWinPFile::TakeTransferBuffer()
{
    if (m_pTransferBuffer == nullptr)
        m_pTransferBuffer = TransferBufferPool::Acquire(m_nPageSize);
    return m_pTransferBuffer != nullptr;
}

void CPortableUnBufWinPFile::ReleaseTransferBuffer()
{
    TransferBufferPool::Release(m_pTransferBuffer);
    m_pTransferBuffer = nullptr;
}

int CPortableUnBufWinPFile::FailNoBuffer()
{
    SetLastError(kNoTransferBuffer);
    if (Observer() != nullptr)
        Observer()->ReportError(kSourceName, kLocationNoBuffer, kNoTransferBuffer, kNoBufferText);
    return kNoTransferBuffer;
}

int CPortableUnBufWinPFile::PositionAt(std::uint64_t nPosition, int nLocation)
{
    std::uint64_t nReached = 0;
    const int nError = Device().Move(static_cast<std::int64_t>(nPosition), IFileDevice::EMoveMethod::Begin, nReached);
    if (nError != 0)
        return Fail(nError, kLocationMove);
    if (nReached != nPosition)
        return Fail(kErrorSeek, nLocation);
    return 0;
}

int CPortableUnBufWinPFile::ReadSectors(std::uint32_t nOffset, std::uint64_t nFrom, std::uint32_t nCount,
                                        int nLocation)
{
    unsigned char* pTarget = m_pTransferBuffer + nOffset;
    std::uint32_t nGot = 0;
    // A device may hand over fewer whole sectors than asked and the rest on the next read;
    // only the end of the file ends a read, or cuts it inside a sector.
    while (nGot < nCount) {
        std::uint32_t nRead = 0;
        if (const int nError = Device().Read(pTarget + nGot, nCount - nGot, nRead); nError != 0)
            return Fail(nError, kLocationSystemRead);
        nGot += std::min(nRead, nCount - nGot);
        if (nRead == 0 || nGot % m_nSectorSize != 0)
            break;
    }
    const std::uint64_t nStored = m_nStoredLength > nFrom ? m_nStoredLength - nFrom : 0;
    if (nGot < std::min<std::uint64_t>(nStored, nCount))
        return Fail(kErrorHandleEof, nLocation);
    // Behind the end of the file the disk may hold whole sectors of an earlier length.
    const std::uint64_t nLogical = m_nLogicalLength > nFrom ? m_nLogicalLength - nFrom : 0;
    const auto nKept = static_cast<std::uint32_t>(std::min<std::uint64_t>({nLogical, nGot, nCount}));
    std::memset(pTarget + nKept, 0, nCount - nKept);
    return 0;
}

int CPortableUnBufWinPFile::WriteSectors(std::uint32_t nOffset, std::uint32_t nCount, int nLocation)
{
    std::uint32_t nWritten = 0;
    if (const int nError = Device().Write(m_pTransferBuffer + nOffset, nCount, nWritten); nError != 0)
        return Fail(nError, nLocation);
    if (nWritten != nCount)
        return Fail(kErrorDiskFull, nLocation);
    return 0;
}

void CPortableUnBufWinPFile::Advance(std::uint64_t nBytes)
{
    m_nPosition += nBytes;
    m_nLogicalLength = std::max(m_nLogicalLength, m_nPosition);
}

int CPortableUnBufWinPFile::Write(const void* pData, std::uint32_t nCount, std::uint32_t* pWritten)
{
    if ((GetMode() != FileMode::kWrite && GetMode() != FileMode::kReadWrite) || pData == nullptr ||
        pWritten == nullptr)
        return FileResult::kInvalidArgument;
    *pWritten = 0;
    if (nCount == 0)
        return 0;
    const auto* pBytes = static_cast<const unsigned char*>(pData);
    return m_bCached ? CachedWrite(pBytes, nCount, *pWritten) : DirectWrite(pBytes, nCount, *pWritten);
}

int CPortableUnBufWinPFile::Read(void* pBuffer, std::uint32_t nCount, std::uint32_t* pRead)
{
    if ((GetMode() != FileMode::kRead && GetMode() != FileMode::kReadWrite) || pBuffer == nullptr ||
        pRead == nullptr)
        return FileResult::kInvalidArgument;
    if (const int nFlush = Flush(); nFlush != 0)
        return nFlush;
    std::memset(pBuffer, 0, nCount);
    *pRead = 0;
    // Opened first: a file that cannot be opened has no length to read up to.
    if (const int nOpen = EnsureOpen(); nOpen != 0)
        return nOpen;
    const std::uint64_t nLeft = m_nPosition < m_nLogicalLength ? m_nLogicalLength - m_nPosition : 0;
    nCount = static_cast<std::uint32_t>(std::min<std::uint64_t>(nCount, nLeft));
    if (nCount == 0)
        return 0;
    if (!TakeTransferBuffer())
        return FailNoBuffer();
    auto* pBytes = static_cast<unsigned char*>(pBuffer);
    return m_bCached ? CachedRead(pBytes, nCount, *pRead) : DirectRead(pBytes, nCount, *pRead);
}

int CPortableUnBufWinPFile::DirectRead(unsigned char* pBuffer, std::uint32_t nCount, std::uint32_t& nRead)
{
    const std::uint64_t nStart = SectorStart(m_nPosition);
    const auto nOffset = static_cast<std::uint32_t>(m_nPosition - nStart);
    if (const int nError = PositionAt(nStart, kLocationReadPosition); nError != 0)
        return nError;
    if (nOffset > 0) {
        if (const int nError = ReadSectors(0, nStart, m_nSectorSize, kLocationReadHead); nError != 0)
            return nError;
        const std::uint32_t nPart = std::min(m_nSectorSize - nOffset, nCount);
        std::memcpy(pBuffer, m_pTransferBuffer + nOffset, nPart);
        pBuffer += nPart;
        nCount -= nPart;
        nRead += nPart;
        m_nPosition += nPart;
    }
    while (nCount >= m_nSectorSize) {
        const std::uint32_t nPart = std::min(m_nTransferSize, nCount - nCount % m_nSectorSize);
        if (const int nError = ReadSectors(0, m_nPosition, nPart, kLocationReadBody); nError != 0)
            return nError;
        std::memcpy(pBuffer, m_pTransferBuffer, nPart);
        pBuffer += nPart;
        nCount -= nPart;
        nRead += nPart;
        m_nPosition += nPart;
    }
    if (nCount > 0) {
        if (const int nError = ReadSectors(0, m_nPosition, m_nSectorSize, kLocationReadTail); nError != 0)
            return nError;
        std::memcpy(pBuffer, m_pTransferBuffer, nCount);
        nRead += nCount;
        m_nPosition += nCount;
    }
    return 0;
}

int CPortableUnBufWinPFile::DirectWrite(const unsigned char* pData, std::uint32_t nCount, std::uint32_t& nWritten)
{
    if (const int nOpen = EnsureOpen(); nOpen != 0)
        return nOpen;
    if (!TakeTransferBuffer())
        return FailNoBuffer();
    const std::uint64_t nStart = SectorStart(m_nPosition);
    const auto nOffset = static_cast<std::uint32_t>(m_nPosition - nStart);
    if (const int nError = PositionAt(nStart, kLocationWritePosition); nError != 0)
        return nError;
    const auto written = [&](std::uint32_t nPart) {
        pData += nPart;
        nCount -= nPart;
        nWritten += nPart;
        Advance(nPart);
        m_nStoredLength = std::max(m_nStoredLength, m_nPosition);
    };
    if (nOffset > 0) {
        if (const int nError = ReadSectors(0, nStart, m_nSectorSize, kLocationWriteHeadRead); nError != 0)
            return nError;
        const std::uint32_t nPart = std::min(m_nSectorSize - nOffset, nCount);
        std::memcpy(m_pTransferBuffer + nOffset, pData, nPart);
        if (const int nError = PositionAt(nStart, kLocationWriteHeadPosition); nError != 0)
            return nError;
        if (const int nError = WriteSectors(0, m_nSectorSize, kLocationWriteHead); nError != 0)
            return nError;
        written(nPart);
    }
    while (nCount >= m_nSectorSize) {
        const std::uint32_t nPart = std::min(m_nTransferSize, nCount - nCount % m_nSectorSize);
        std::memcpy(m_pTransferBuffer, pData, nPart);
        if (const int nError = WriteSectors(0, nPart, kLocationWriteBody); nError != 0)
            return nError;
        written(nPart);
    }
    if (nCount > 0) {
        if (const int nError = ReadSectors(0, m_nPosition, m_nSectorSize, kLocationWriteTailRead); nError != 0)
            return nError;
        std::memcpy(m_pTransferBuffer, pData, nCount);
        if (const int nError = PositionAt(m_nPosition, kLocationWriteTailPosition); nError != 0)
            return nError;
        if (const int nError = WriteSectors(0, m_nSectorSize, kLocationWriteTail); nError != 0)
            return nError;
        written(nCount);
    }
    return 0;
}

int CPortableUnBufWinPFile::CachedRead(unsigned char* pBuffer, std::uint32_t nCount, std::uint32_t& nRead)
{
    if (m_nCacheFill > 0 && m_nPosition >= m_nCacheStart && m_nPosition + nCount <= m_nCacheStart + m_nCacheFill) {
        std::memcpy(pBuffer, m_pTransferBuffer + (m_nPosition - m_nCacheStart), nCount);
        nRead += nCount;
        m_nPosition += nCount;
        return 0;
    }
    if (const int nFlush = Flush(); nFlush != 0)
        return nFlush;
    ResetCache();
    while (nCount > 0 && m_nPosition < m_nLogicalLength) {
        const std::uint64_t nStart = SectorStart(m_nPosition);
        const auto nOffset = static_cast<std::uint32_t>(m_nPosition - nStart);
        if (const int nError = PositionAt(nStart, kLocationCachedReadPosition); nError != 0)
            return nError;
        const auto nWanted =
            static_cast<std::uint32_t>(std::min<std::uint64_t>(m_nTransferSize, SectorEnd(m_nLogicalLength) - nStart));
        if (const int nError = ReadSectors(0, nStart, nWanted, kLocationCachedRead); nError != 0)
            return nError;
        m_nCacheStart = nStart;
        m_nCacheFill = nWanted;
        const std::uint32_t nPart = std::min(nCount, nWanted - nOffset);
        std::memcpy(pBuffer, m_pTransferBuffer + nOffset, nPart);
        pBuffer += nPart;
        nCount -= nPart;
        nRead += nPart;
        m_nPosition += nPart;
    }
    return 0;
}

int CPortableUnBufWinPFile::LoadCacheUpTo(std::uint64_t nTo)
{
    const std::uint64_t nFrom = m_nCacheStart + m_nCacheFill;
    if (nTo <= nFrom)
        return 0;
    const auto nOffset = static_cast<std::uint32_t>(nFrom - m_nCacheStart);
    const auto nCount = static_cast<std::uint32_t>(nTo - nFrom);
    if (nFrom >= m_nLogicalLength) {
        std::memset(m_pTransferBuffer + nOffset, 0, nCount);
    } else {
        if (const int nError = PositionAt(nFrom, kLocationWritePosition); nError != 0)
            return nError;
        if (const int nError = ReadSectors(nOffset, nFrom, nCount, kLocationWriteHeadRead); nError != 0)
            return nError;
    }
    m_nCacheFill += nCount;
    return 0;
}

int CPortableUnBufWinPFile::LoadCacheSector(std::uint64_t nSector)
{
    const auto nOffset = static_cast<std::uint32_t>(nSector - m_nCacheStart);
    if (nSector >= m_nLogicalLength) {
        std::memset(m_pTransferBuffer + nOffset, 0, m_nSectorSize);
        return 0;
    }
    if (const int nError = PositionAt(nSector, kLocationWriteTailPosition); nError != 0)
        return nError;
    return ReadSectors(nOffset, nSector, m_nSectorSize, kLocationWriteTailRead);
}

int CPortableUnBufWinPFile::CachedWrite(const unsigned char* pData, std::uint32_t nCount, std::uint32_t& nWritten)
{
    if (const int nOpen = EnsureOpen(); nOpen != 0)
        return nOpen;
    if (!TakeTransferBuffer())
        return FailNoBuffer();
    while (nCount > 0) {
        // The cache spans one transfer from its first sector; a write elsewhere starts anew.
        if (m_nCacheFill == 0 || m_nPosition < m_nCacheStart || m_nPosition >= m_nCacheStart + m_nTransferSize) {
            if (const int nFlush = Flush(); nFlush != 0)
                return nFlush;
            ResetCache();
            m_nCacheStart = SectorStart(m_nPosition);
        }
        const auto nPart =
            static_cast<std::uint32_t>(std::min<std::uint64_t>(nCount, m_nCacheStart + m_nTransferSize - m_nPosition));
        const std::uint64_t nEnd = m_nPosition + nPart;
        const std::uint64_t nFirst = SectorStart(m_nPosition);
        const std::uint64_t nLast = SectorStart(nEnd - 1);
        // Sectors the write skips or covers only in part keep what the file holds there.
        if (const int nError = LoadCacheUpTo(nFirst); nError != 0)
            return nError;
        const std::uint64_t nHeld = m_nCacheStart + m_nCacheFill;
        if (nFirst == nHeld && (m_nPosition > nFirst || nEnd < nFirst + m_nSectorSize)) {
            if (const int nError = LoadCacheSector(nFirst); nError != 0)
                return nError;
        }
        if (nLast > nFirst && nLast >= nHeld && nEnd < nLast + m_nSectorSize) {
            if (const int nError = LoadCacheSector(nLast); nError != 0)
                return nError;
        }
        std::memcpy(m_pTransferBuffer + (m_nPosition - m_nCacheStart), pData, nPart);
        m_nCacheFill = static_cast<std::uint32_t>(std::max(nHeld, SectorEnd(nEnd)) - m_nCacheStart);
        m_nDirtyStart = m_bDirty ? std::min(m_nDirtyStart, m_nPosition) : m_nPosition;
        m_nDirtyEnd = m_bDirty ? std::max(m_nDirtyEnd, nEnd) : nEnd;
        m_bDirty = true;
        pData += nPart;
        nCount -= nPart;
        nWritten += nPart;
        Advance(nPart);
    }
    return 0;
}

int CPortableUnBufWinPFile::Flush()
{
    if (GetMode() == FileMode::kRead || !m_bDirty)
        return 0;
    // Written from the cache itself: it holds whole sectors, and it keeps them if the disk
    // refuses them.
    const std::uint64_t nFrom = SectorStart(m_nDirtyStart);
    const auto nOffset = static_cast<std::uint32_t>(nFrom - m_nCacheStart);
    const auto nCount = static_cast<std::uint32_t>(SectorEnd(m_nDirtyEnd) - nFrom);
    if (const int nError = PositionAt(nFrom, kLocationWritePosition); nError != 0)
        return nError;
    if (const int nError = WriteSectors(nOffset, nCount, kLocationWriteBody); nError != 0)
        return nError;
    m_nStoredLength = std::max(m_nStoredLength, m_nDirtyEnd);
    m_bDirty = false;
    return 0;
}

int CPortableUnBufWinPFile::GetPosition(std::uint64_t* pPosition)
{
    if (pPosition == nullptr)
        return FileResult::kInvalidArgument;
    *pPosition = m_nPosition;
    return 0;
}

int CPortableUnBufWinPFile::Seek(int nOrigin, std::uint32_t nLow, std::int32_t nHigh)
{
    if (const int nOpen = EnsureOpen(); nOpen != 0)
        return nOpen;
    if (GetMode() == FileMode::kWrite || GetMode() == FileMode::kReadWrite) {
        if (const int nFlush = Flush(); nFlush != 0)
            return nFlush;
    }
    const std::int64_t nDistance = Distance(nLow, nHigh);
    std::int64_t nBase = 0;
    switch (nOrigin) {
    case SeekOrigin::kNone:
        return 0;
    case SeekOrigin::kBegin:
        break;
    case SeekOrigin::kEnd:
        nBase = static_cast<std::int64_t>(m_nLogicalLength);
        break;
    case SeekOrigin::kCurrent:
        nBase = static_cast<std::int64_t>(m_nPosition);
        break;
    default:
        return FileResult::kInvalidSeekOrigin;
    }
    if (nDistance < -nBase)
        return Fail(kErrorNegativeSeek, kLocationMove);
    m_nPosition = static_cast<std::uint64_t>(nBase + nDistance);
    return 0;
}

int CPortableUnBufWinPFile::GetLength(std::uint64_t* pLength)
{
    if (pLength != nullptr && !IsOpen() && m_bCutPending) {
        if (const int nCut = CutTo(m_nLogicalLength); nCut != 0)
            return nCut;
    }
    if (pLength == nullptr || !IsOpen())
        return CPortableBaseWinPFile::GetLength(pLength);
    *pLength = m_nLogicalLength;
    SetLastError(0);
    return 0;
}

int CPortableUnBufWinPFile::Close()
{
    if (!IsOpen())
        return m_bCutPending ? CutTo(m_nLogicalLength) : 0;
    // Kept open with its cache, so that nothing the caller wrote is lost to a failed write.
    if (const int nFlush = Flush(); nFlush != 0)
        return nFlush;
    m_nPosition = 0;
    ResetCache();
    ReleaseTransferBuffer();
    return CloseAndCut();
}

int CPortableUnBufWinPFile::CloseAndCut()
{
    // Until the cut succeeds, the next close or open tries it again.
    m_bCutPending = GetMode() != FileMode::kRead;
    if (const int nClose = CloseDevice(kLocationClose); nClose != 0)
        return nClose;
    return m_bCutPending ? CutTo(m_nLogicalLength) : 0;
}

int CPortableUnBufWinPFile::CutTo(std::uint64_t nLength)
{
    // Whole sectors went to the disk: the file gets its exact length through the cache.
    CPortableWinPFile exact(GetPath().GetView(), FileMode::kReadWrite, Observer(), FileSystem());
    int nError = exact.Seek(SeekOrigin::kBegin, static_cast<std::uint32_t>(nLength),
                            static_cast<std::int32_t>(nLength >> 32));
    if (nError == 0)
        nError = exact.Truncate();
    if (const int nClose = exact.Close(); nError == 0)
        nError = nClose;
    m_bCutPending = nError != 0;
    SetLastError(nError);
    return nError;
}

int CPortableUnBufWinPFile::Abandon()
{
    m_nPosition = 0;
    ResetCache();
    ReleaseTransferBuffer();
    m_nLogicalLength = m_nStoredLength;
    return CloseAndCut();
}

int CPortableUnBufWinPFile::Discard()
{
    m_bCutPending = false;
    m_nPosition = 0;
    ResetCache();
    ReleaseTransferBuffer();
    return CloseDevice(kLocationClose);
}

int CPortableUnBufWinPFile::Truncate()
{
    if (GetMode() == FileMode::kRead)
        return FileResult::kInvalidArgument;
    const std::uint64_t nPosition = m_nPosition;
    // Closed, the file would not be cut: it is opened first, at the length it has.
    if (const int nOpen = EnsureOpen(); nOpen != 0)
        return nOpen;
    m_nLogicalLength = nPosition;
    m_nStoredLength = std::min(m_nStoredLength, nPosition);
    // Cached bytes beyond the new end must not grow the file again when they are written.
    const std::uint64_t nHeld = m_nCacheStart + m_nCacheFill;
    if (m_nCacheFill > 0 && nHeld > nPosition) {
        const std::uint64_t nKeep = std::max(nPosition, m_nCacheStart);
        std::memset(m_pTransferBuffer + (nKeep - m_nCacheStart), 0, static_cast<std::size_t>(nHeld - nKeep));
    }
    if (m_bDirty) {
        m_nDirtyEnd = std::min(m_nDirtyEnd, nPosition);
        m_bDirty = m_nDirtyStart < m_nDirtyEnd;
    }
    const int nError = CloseFile();
    m_nPosition = nPosition;
    return nError;
}
