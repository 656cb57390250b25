#include "framework/files/PortableBaseWinPFile.h"

#include "framework/files/PortablePath.h"

namespace {

constexpr const wchar_t* kSourceName = L"CPortableWinPFile.cpp";
constexpr int kLocationTruncateClosed = 67;
constexpr int kLocationTruncate = 80;
constexpr int kLocationGetLength = 135;
constexpr int kLocationDelete = 163;
// The system's "invalid handle": a closed file has nothing to cut.
constexpr int kErrorInvalidHandle = 6;

SDriveInfo DriveOf(CPathString::View path)
{
    SDriveInfo info;
    if (path.size() >= 2 && path[1] == L':' && PortablePath::GetComponentCount(path) > 0) {
        const wchar_t letter = path[0];
        if ((letter >= L'A' && letter <= L'Z') || (letter >= L'a' && letter <= L'z')) {
            info.nKind = 0;
            info.cLetter = letter;
        }
    }
    return info;
}

} // namespace

CPortableBaseWinPFile::CPortableBaseWinPFile(CPathString::View path, int nMode, IFileErrorSink* pObserver,
                                             IFileSystem& fileSystem)
    : m_nMode(nMode), m_path(path), m_pObserver(pObserver), m_fileSystem(fileSystem)
{
}

const wchar_t* CPortableBaseWinPFile::GetSourceName() const
{
    return kSourceName;
}

int CPortableBaseWinPFile::SetError(int nError, int nLocation, const wchar_t* pszSource)
{
    m_nError = nError;
    if (nError != 0 && m_pObserver != nullptr)
        m_pObserver->ReportError(pszSource, nLocation, nError, m_path.c_str());
    return nError;
}

int CPortableBaseWinPFile::OpenDevice(const SFileOpenRequest& request, int nLocation)
{
    std::unique_ptr<IFileDevice> pDevice;
    const int nError = m_fileSystem.Open(m_path.c_str(), request, pDevice);
    if (nError != 0)
        return Fail(nError, nLocation);
    m_pDevice = std::move(pDevice);
    return 0;
}

int CPortableBaseWinPFile::CloseDevice(int nLocation)
{
    if (!m_pDevice)
        return 0;
    const int nError = m_pDevice->Close();
    m_pDevice.reset();
    return nError != 0 ? Fail(nError, nLocation) : 0;
}

int CPortableBaseWinPFile::GetLength(std::uint64_t* pLength)
{
    if (pLength == nullptr)
        return 0;
    *pLength = 0;
    const bool bWasOpen = IsOpen();
    if (!bWasOpen) {
        // Reading is enough to ask the size; the stored mode (which may create or empty
        // the file) is not used for the question and stays as it is.
        SFileOpenRequest request;
        request.bShareRead = true;
        const int nError = OpenDevice(request, kLocationGetLength);
        if (nError != 0)
            return nError;
    }
    m_nError = 0;
    const int nError = m_pDevice->GetSize(*pLength);
    if (!bWasOpen)
        m_pDevice.reset();
    return nError != 0 ? SetError(nError, kLocationGetLength, kSourceName) : 0;
}

int CPortableBaseWinPFile::Truncate()
{
    if (!IsOpen())
        return SetError(m_nError != 0 ? m_nError : kErrorInvalidHandle, kLocationTruncateClosed, kSourceName);
    const int nError = m_pDevice->SetEnd();
    return nError != 0 ? SetError(nError, kLocationTruncate, kSourceName) : SetError(0, 0, kSourceName);
}

int CPortableBaseWinPFile::Delete()
{
    // A failed close must not leave the file behind: temporary files are deleted this way.
    const int nClose = Discard();
    const int nRemove = SetError(m_fileSystem.RemoveFile(m_path.c_str()), kLocationDelete, kSourceName);
    if (nClose == 0)
        return nRemove;
    m_nError = nClose;
    return nClose;
}

SDriveInfo CPortableBaseWinPFile::GetDriveInfo()
{
    const SDriveInfo info = DriveOf(m_path.GetView());
    if (info.nKind == 0)
        return info;
    return DriveOf(m_fileSystem.GetWorkingDirectory().GetView());
}

bool CPortableBaseWinPFile::OpenIsSettled(int nMode, int& nResult)
{
    nResult = 0;
    if (nMode == GetMode() && IsOpen())
        return true;
    if (IsOpen()) {
        nResult = Close();
        if (nResult != 0)
            return true;
    }
    SetMode(nMode);
    SetLastError(0);
    return false;
}
