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

// The system's "seek error": the file stands elsewhere than asked.
constexpr int kErrorSeek = 25;
// The system's "negative seek": a position before the start of the file.
constexpr int kErrorNegativeSeek = 131;

std::uint64_t RoundUp(std::uint64_t nValue, std::uint32_t nMultiple)
{
    return (nValue + nMultiple - 1) / nMultiple * nMultiple;
}

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
    // The length is settled here at the latest; its failure went to the observer.
    (void)Close();
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
    const int nError = OpenDevice(request, nLocation);
    if (nError != 0)
        return nError;
    std::uint64_t nSize = 0;
    const int nSizeError = Device().GetSize(nSize);
    if (nSizeError != 0)
        return Fail(nSizeError, nLocation);
    m_nLogicalLength = nSize;
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

int CPortableUnBufWinPFile::ReadBuffer(std::uint32_t nCount, std::uint32_t& nRead, int nLocation)
{
    nRead = 0;
    const int nError = Device().Read(m_pTransferBuffer, nCount, nRead);
    if (nError != 0)
        return Fail(nError, nLocation);
    std::memset(m_pTransferBuffer + nRead, 0, nCount - nRead);
    return 0;
}

int CPortableUnBufWinPFile::WriteBuffer(std::uint32_t nCount, int nLocation)
{
    std::uint32_t nWritten = 0;
    const int nError = Device().Write(m_pTransferBuffer, nCount, nWritten);
    if (nError != 0)
        return Fail(nError, nLocation);
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
    const int nFlush = Flush();
    if (nFlush < 0)
        return nFlush;
    std::memset(pBuffer, 0, nCount);
    *pRead = 0;
    const std::uint64_t nLeft = m_nPosition < m_nLogicalLength ? m_nLogicalLength - m_nPosition : 0;
    nCount = static_cast<std::uint32_t>(std::min<std::uint64_t>(nCount, nLeft));
    if (nCount == 0)
        return 0;
    const int nOpen = EnsureOpen();
    if (nOpen != 0)
        return nOpen;
    if (!TakeTransferBuffer()) {
        SetLastError(FileResult::kInvalidArgument);
        return FileResult::kInvalidArgument;
    }
    auto* pBytes = static_cast<unsigned char*>(pBuffer);
    return m_bCached ? CachedRead(pBytes, nCount, *pRead) : DirectRead(pBytes, nCount, *pRead);
}

int CPortableUnBufWinPFile::DirectRead(unsigned char* pBuffer, std::uint32_t nCount, std::uint32_t& nRead)
{
    const std::uint64_t nStart = SectorStart(m_nPosition);
    const auto nOffset = static_cast<std::uint32_t>(m_nPosition - nStart);
    if (const int nError = PositionAt(nStart, kLocationReadPosition); nError != 0)
        return nError;
    std::uint32_t nGot = 0;
    if (nOffset > 0) {
        if (const int nError = ReadBuffer(m_nSectorSize, nGot, kLocationReadHead); nError != 0)
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
        if (const int nError = ReadBuffer(nPart, nGot, kLocationReadBody); nError != 0)
            return nError;
        std::memcpy(pBuffer, m_pTransferBuffer, nPart);
        pBuffer += nPart;
        nCount -= nPart;
        nRead += nPart;
        m_nPosition += nPart;
    }
    if (nCount > 0) {
        if (const int nError = ReadBuffer(m_nSectorSize, nGot, kLocationReadTail); nError != 0)
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
    std::uint32_t nGot = 0;
    if (nOffset > 0) {
        if (const int nError = ReadBuffer(m_nSectorSize, nGot, kLocationWriteHeadRead); nError != 0)
            return nError;
        const std::uint32_t nPart = std::min(m_nSectorSize - nOffset, nCount);
        std::memcpy(m_pTransferBuffer + nOffset, pData, nPart);
        if (const int nError = PositionAt(nStart, kLocationWriteHeadPosition); nError != 0)
            return nError;
        if (const int nError = WriteBuffer(m_nSectorSize, kLocationWriteHead); nError != 0)
            return nError;
        pData += nPart;
        nCount -= nPart;
        nWritten += nPart;
        Advance(nPart);
    }
    while (nCount >= m_nSectorSize) {
        const std::uint32_t nPart = std::min(m_nTransferSize, nCount - nCount % m_nSectorSize);
        std::memcpy(m_pTransferBuffer, pData, nPart);
        if (const int nError = WriteBuffer(nPart, kLocationWriteBody); nError != 0)
            return nError;
        pData += nPart;
        nCount -= nPart;
        nWritten += nPart;
        Advance(nPart);
    }
    if (nCount > 0) {
        if (const int nError = ReadBuffer(m_nSectorSize, nGot, kLocationWriteTailRead); nError != 0)
            return nError;
        std::memcpy(m_pTransferBuffer, pData, nCount);
        if (const int nError = PositionAt(m_nPosition, kLocationWriteTailPosition); nError != 0)
            return nError;
        if (const int nError = WriteBuffer(m_nSectorSize, kLocationWriteTail); nError != 0)
            return nError;
        nWritten += nCount;
        Advance(nCount);
    }
    return 0;
}

int CPortableUnBufWinPFile::CachedRead(unsigned char* pBuffer, std::uint32_t nCount, std::uint32_t& nRead)
{
    const std::uint64_t nWindowEnd = m_nCacheStart + m_nCacheFill;
    if (m_nCacheFill > 0 && m_nPosition >= m_nCacheStart && m_nPosition + nCount <= nWindowEnd) {
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
            static_cast<std::uint32_t>(std::min<std::uint64_t>(m_nTransferSize, RoundUp(m_nLogicalLength - nStart, m_nSectorSize)));
        std::uint32_t nGot = 0;
        if (const int nError = ReadBuffer(nWanted, nGot, kLocationCachedRead); nError != 0)
            return nError;
        // Bytes the disk no longer has read as the zeros ReadBuffer left.
        m_nCacheStart = nStart;
        m_nCacheFill = static_cast<std::uint32_t>(std::min<std::uint64_t>(nWanted, m_nLogicalLength - nStart));
        const std::uint32_t nPart = std::min(nCount, m_nCacheFill - nOffset);
        std::memcpy(pBuffer, m_pTransferBuffer + nOffset, nPart);
        pBuffer += nPart;
        nCount -= nPart;
        nRead += nPart;
        m_nPosition += nPart;
    }
    return 0;
}

int CPortableUnBufWinPFile::CachedWrite(const unsigned char* pData, std::uint32_t nCount, std::uint32_t& nWritten)
{
    if (const int nOpen = EnsureOpen(); nOpen != 0)
        return nOpen;
    if (!TakeTransferBuffer())
        return FailNoBuffer();
    // Bytes join the window only where it ends; elsewhere the window is written out first.
    if (m_nCacheFill > 0 && m_nPosition != m_nCacheStart + m_nCacheFill) {
        if (const int nFlush = Flush(); nFlush != 0)
            return nFlush;
        ResetCache();
    }
    while (nCount > 0) {
        const std::uint32_t nPart = std::min(nCount, m_nTransferSize - m_nCacheFill);
        if (nPart == 0) {
            if (m_bDirty) {
                if (const int nFlush = Flush(); nFlush != 0)
                    return nFlush;
            }
            ResetCache();
            continue;
        }
        if (m_nCacheFill == 0)
            m_nCacheStart = m_nPosition;
        std::memcpy(m_pTransferBuffer + m_nCacheFill, pData, nPart);
        m_nCacheFill += nPart;
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
    if (GetMode() == FileMode::kRead || !m_bDirty || m_nCacheFill == 0)
        return 0;
    unsigned char* pSecond = TransferBufferPool::Acquire(m_nPageSize);
    if (pSecond == nullptr)
        return FileResult::kInvalidArgument;
    std::memcpy(pSecond, m_pTransferBuffer, m_nCacheFill);
    const std::uint32_t nFill = m_nCacheFill;
    const std::uint64_t nPosition = m_nPosition;
    m_nPosition = m_nCacheStart;
    ResetCache();
    std::uint32_t nWritten = 0;
    const int nError = DirectWrite(pSecond, nFill, nWritten);
    TransferBufferPool::Release(pSecond);
    m_nPosition = nPosition;
    return nError;
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

int CPortableUnBufWinPFile::Close()
{
    if (!IsOpen())
        return 0;
    const int nFlush = Flush();
    m_nPosition = 0;
    ResetCache();
    ReleaseTransferBuffer();
    if (const int nClose = CloseDevice(kLocationClose); nClose != 0)
        return nClose;
    if (GetMode() == FileMode::kRead || nFlush != 0)
        return nFlush;
    // Whole sectors went to the disk: the file gets its exact length through the cache.
    CPortableWinPFile exact(GetPath().GetView(), FileMode::kReadWrite, Observer(), FileSystem());
    const int nSeek = exact.Seek(SeekOrigin::kBegin, static_cast<std::uint32_t>(m_nLogicalLength),
                                 static_cast<std::int32_t>(m_nLogicalLength >> 32));
    const int nError = nSeek != 0 ? nSeek : exact.Truncate();
    SetLastError(nError);
    return nError;
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
    // A dirty window beyond the new end must not grow the file again when it is written.
    if (m_nCacheFill > 0 && m_nCacheStart + m_nCacheFill > nPosition)
        m_nCacheFill = static_cast<std::uint32_t>(nPosition > m_nCacheStart ? nPosition - m_nCacheStart : 0);
    const int nError = CloseFile();
    m_nPosition = nPosition;
    return nError;
}
