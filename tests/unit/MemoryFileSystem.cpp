#include "MemoryFileSystem.h"

#include <algorithm>
#include <cstring>

class CMemoryFileSystem::CDevice final : public IFileDevice
{
public:
    CDevice(CMemoryFileSystem& owner, std::shared_ptr<SFile> pFile, const SFileOpenRequest& request)
        : m_owner(owner), m_pFile(std::move(pFile)), m_request(request)
    {
        ++m_pFile->nOpen;
        m_pFile->bShared = m_pFile->nOpen == 1 ? request.bShareRead : m_pFile->bShared && request.bShareRead;
    }

    ~CDevice() override { Release(); }

    // A failed close still lets the file go, as the system does with the handle.
    int Close() override
    {
        if (m_bClosed)
            return 6;
        Release();
        SFault fault{};
        return m_owner.NextCall(EOperation::Close, fault) ? fault.nError : 0;
    }

    int Read(void* pBuffer, std::uint32_t nCount, std::uint32_t& nRead) override
    {
        nRead = 0;
        if (m_request.access == SFileOpenRequest::EAccess::Write)
            return kErrorAccessDenied;
        if (!Aligned(pBuffer, nCount))
            return kErrorInvalidParameter;
        SFault fault{};
        const bool bFault = m_owner.NextCall(EOperation::Read, fault);
        if (bFault && fault.nError != 0)
            return fault.nError;
        const std::vector<unsigned char>& data = m_pFile->data;
        if (m_nPosition < data.size())
            nRead = static_cast<std::uint32_t>(std::min<std::uint64_t>(nCount, data.size() - m_nPosition));
        if (bFault)
            nRead = std::min(nRead, fault.nShortRead);
        if (nRead > 0)
            std::memcpy(pBuffer, data.data() + m_nPosition, nRead);
        m_nPosition += nRead;
        return 0;
    }

    int Write(const void* pData, std::uint32_t nCount, std::uint32_t& nWritten) override
    {
        nWritten = 0;
        if (m_request.access == SFileOpenRequest::EAccess::Read)
            return kErrorAccessDenied;
        if (!Aligned(pData, nCount))
            return kErrorInvalidParameter;
        if (SFault fault{}; m_owner.NextCall(EOperation::Write, fault))
            return fault.nError;
        std::vector<unsigned char>& data = m_pFile->data;
        if (data.size() < m_nPosition + nCount)
            data.resize(m_nPosition + nCount);
        std::memcpy(data.data() + m_nPosition, pData, nCount);
        m_nPosition += nCount;
        nWritten = nCount;
        return 0;
    }

    int Move(std::int64_t nDistance, EMoveMethod method, std::uint64_t& nPosition) override
    {
        if (SFault fault{}; m_owner.NextCall(EOperation::Move, fault))
            return fault.nError;
        std::int64_t nBase = 0;
        if (method == EMoveMethod::Current)
            nBase = static_cast<std::int64_t>(m_nPosition);
        else if (method == EMoveMethod::End)
            nBase = static_cast<std::int64_t>(m_pFile->data.size());
        if (nBase + nDistance < 0)
            return kErrorNegativeSeek;
        m_nPosition = static_cast<std::uint64_t>(nBase + nDistance);
        nPosition = m_nPosition;
        return 0;
    }

    int SetEnd() override
    {
        if (m_request.access == SFileOpenRequest::EAccess::Read)
            return kErrorAccessDenied;
        m_pFile->data.resize(m_nPosition);
        return 0;
    }

    int GetSize(std::uint64_t& nSize) override
    {
        if (SFault fault{}; m_owner.NextCall(EOperation::GetSize, fault))
            return fault.nError;
        nSize = m_pFile->data.size();
        return 0;
    }

private:
    void Release()
    {
        if (m_bClosed)
            return;
        m_bClosed = true;
        if (--m_pFile->nOpen == 0)
            m_pFile->bShared = true;
    }

    bool Aligned(const void* pMemory, std::uint32_t nCount)
    {
        if (!m_request.bNoBuffering)
            return true;
        const std::uint32_t nSector = m_owner.m_nSectorSize;
        if (m_nPosition % nSector == 0 && nCount % nSector == 0 &&
            reinterpret_cast<std::uintptr_t>(pMemory) % nSector == 0)
            return true;
        ++m_owner.m_nRefused;
        return false;
    }

    CMemoryFileSystem& m_owner;
    std::shared_ptr<SFile> m_pFile;
    SFileOpenRequest m_request;
    std::uint64_t m_nPosition = 0;
    bool m_bClosed = false;
};

int CMemoryFileSystem::Open(const wchar_t* pszPath, const SFileOpenRequest& request,
                            std::unique_ptr<IFileDevice>& pDevice)
{
    using D = SFileOpenRequest::EDisposition;
    m_lastRequest = request;
    const auto found = m_files.find(pszPath);
    const bool bExists = found != m_files.end();
    if (!bExists && request.disposition == D::OpenExisting)
        return kErrorFileNotFound;
    if (bExists && request.disposition == D::CreateNew)
        return kErrorFileExists;
    if (bExists && found->second->nOpen > 0 &&
        !(found->second->bShared && request.bShareRead && request.access == SFileOpenRequest::EAccess::Read))
        return kErrorSharingViolation;
    std::shared_ptr<SFile>& pFile = m_files[pszPath];
    if (!pFile)
        pFile = std::make_shared<SFile>();
    if (request.disposition == D::CreateAlways)
        pFile->data.clear();
    pDevice = std::make_unique<CDevice>(*this, pFile, request);
    return 0;
}

int CMemoryFileSystem::RemoveFile(const wchar_t* pszPath)
{
    const auto found = m_files.find(pszPath);
    if (found == m_files.end())
        return kErrorFileNotFound;
    if (found->second->nOpen > 0)
        return kErrorSharingViolation;
    m_files.erase(found);
    return 0;
}

int CMemoryFileSystem::GetSectorSize(const wchar_t* /*pszPath*/, std::uint32_t& nSectorSize)
{
    nSectorSize = m_nSectorSize;
    return 0;
}

int CMemoryFileSystem::OpenCount(const std::wstring& path) const
{
    const auto found = m_files.find(path);
    return found == m_files.end() ? 0 : found->second->nOpen;
}

std::vector<unsigned char>& CMemoryFileSystem::Contents(const std::wstring& path)
{
    std::shared_ptr<SFile>& pFile = m_files[path];
    if (!pFile)
        pFile = std::make_shared<SFile>();
    return pFile->data;
}

void CMemoryFileSystem::FailNth(EOperation operation, int nNth, int nError)
{
    m_faults.push_back({operation, Calls(operation) + nNth, nError, 0});
}

void CMemoryFileSystem::ShortenNthRead(int nNth, std::uint32_t nBytes)
{
    m_faults.push_back({EOperation::Read, Calls(EOperation::Read) + nNth, 0, nBytes});
}

bool CMemoryFileSystem::NextCall(EOperation operation, SFault& fault)
{
    const int nCall = ++m_calls[static_cast<int>(operation)];
    const auto found = std::find_if(m_faults.begin(), m_faults.end(), [&](const SFault& planned) {
        return planned.operation == operation && planned.nCall == nCall;
    });
    if (found == m_faults.end())
        return false;
    fault = *found;
    m_faults.erase(found);
    return true;
}
