#include "framework/files/PortableWinPFile.h"

#include <algorithm>

namespace {

constexpr int kLocationOpenRead = 275;
constexpr int kLocationOpenWrite = 297;
constexpr int kLocationOpenReadWrite = 319;
constexpr int kLocationWrite = 368;
constexpr int kLocationRead = 406;
constexpr int kLocationSeek = 454;
constexpr int kLocationGetPosition = 489;
constexpr int kLocationClose = 523;

struct SOpenRow
{
    SFileOpenRequest request;
    int nLocation;
};

bool RowOf(int nMode, SOpenRow& row)
{
    using R = SFileOpenRequest;
    switch (nMode) {
    case FileMode::kRead:
        row = {{R::EAccess::Read, true, R::EDisposition::OpenExisting, R::EHint::Sequential, false}, kLocationOpenRead};
        return true;
    case FileMode::kWrite:
        row = {{R::EAccess::Write, false, R::EDisposition::CreateAlways, R::EHint::Sequential, false},
               kLocationOpenWrite};
        return true;
    case FileMode::kReadWrite:
        row = {{R::EAccess::ReadWrite, false, R::EDisposition::OpenAlways, R::EHint::Random, false},
               kLocationOpenReadWrite};
        return true;
    default:
        return false;
    }
}

} // namespace

CPortableWinPFile::CPortableWinPFile(CPathString::View path, int nMode, IFileErrorSink* pObserver,
                                     IFileSystem& fileSystem)
    : CPortableBaseWinPFile(path, nMode, pObserver, fileSystem)
{
}

CPortableWinPFile::~CPortableWinPFile()
{
    // Nobody is left to hear about a failed close; the observer still is.
    (void)CloseDevice(kLocationClose);
}

std::unique_ptr<PFile> CPortableWinPFile::Clone()
{
    return std::make_unique<CPortableWinPFile>(GetPath().GetView(), GetMode(), nullptr, FileSystem());
}

int CPortableWinPFile::Open(int nMode)
{
    if (int nResult = 0; OpenIsSettled(nMode, nResult))
        return nResult;
    SOpenRow row;
    if (!RowOf(nMode, row)) {
        SetLastError(FileResult::kInvalidOpenMode);
        return FileResult::kInvalidOpenMode;
    }
    return OpenDevice(row.request, row.nLocation);
}

int CPortableWinPFile::CreateExclusive()
{
    if (IsOpen()) {
        const int nClose = Close();
        if (nClose != 0)
            return nClose;
    }
    SetMode(FileMode::kWrite);
    SetLastError(0);
    SOpenRow row;
    (void)RowOf(FileMode::kWrite, row);
    row.request.disposition = SFileOpenRequest::EDisposition::CreateNew;
    return OpenDevice(row.request, row.nLocation);
}

int CPortableWinPFile::OpenStored()
{
    return Open(GetMode());
}

int CPortableWinPFile::Write(const void* pData, std::uint32_t nCount, std::uint32_t* pWritten)
{
    std::uint32_t nWritten = 0;
    if (pWritten != nullptr)
        *pWritten = 0;
    const int nOpen = OpenStored();
    if (nOpen != 0)
        return nOpen;
    if (pData == nullptr && nCount > 0)
        return SetError(FileResult::kInvalidArgument, kLocationWrite, GetSourceName());
    const int nError = Device().Write(pData, nCount, nWritten);
    if (pWritten != nullptr)
        *pWritten = nWritten;
    return SetError(nError, kLocationWrite, GetSourceName());
}

int CPortableWinPFile::Read(void* pBuffer, std::uint32_t nCount, std::uint32_t* pRead)
{
    if (pBuffer == nullptr || pRead == nullptr)
        return FileResult::kInvalidArgument;
    std::fill_n(static_cast<unsigned char*>(pBuffer), nCount, static_cast<unsigned char>(0));
    *pRead = 0;
    const int nOpen = OpenStored();
    if (nOpen != 0)
        return nOpen;
    return SetError(Device().Read(pBuffer, nCount, *pRead), kLocationRead, GetSourceName());
}

int CPortableWinPFile::Seek(int nOrigin, std::uint32_t nLow, std::int32_t nHigh)
{
    const int nOpen = OpenStored();
    if (nOpen != 0)
        return nOpen;
    IFileDevice::EMoveMethod method = IFileDevice::EMoveMethod::Begin;
    switch (nOrigin) {
    case SeekOrigin::kNone:
        return 0;
    case SeekOrigin::kBegin:
        break;
    case SeekOrigin::kEnd:
        method = IFileDevice::EMoveMethod::End;
        break;
    case SeekOrigin::kCurrent:
        method = IFileDevice::EMoveMethod::Current;
        break;
    default:
        return FileResult::kInvalidSeekOrigin;
    }
    std::uint64_t nPosition = 0;
    return SetError(Device().Move(Distance(nLow, nHigh), method, nPosition), kLocationSeek, GetSourceName());
}

int CPortableWinPFile::GetPosition(std::uint64_t* pPosition)
{
    if (pPosition == nullptr)
        return FileResult::kInvalidArgument;
    *pPosition = 0;
    const int nOpen = OpenStored();
    if (nOpen != 0)
        return nOpen;
    return SetError(Device().Move(0, IFileDevice::EMoveMethod::Current, *pPosition), kLocationGetPosition,
                    GetSourceName());
}

int CPortableWinPFile::Close()
{
    if (!IsOpen())
        return 0;
    return CloseDevice(kLocationClose);
}
