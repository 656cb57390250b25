#include "Win32FileDevice.h"

namespace {

int LastError()
{
    return static_cast<int>(::GetLastError());
}

} // namespace

int CWin32FileDevice::Close()
{
    if (!m_handle)
        return ERROR_INVALID_HANDLE;
    return ::CloseHandle(m_handle.Release()) ? 0 : LastError();
}

int CWin32FileDevice::Read(void* pBuffer, std::uint32_t nCount, std::uint32_t& nRead)
{
    DWORD dwRead = 0;
    const BOOL bOk = ::ReadFile(m_handle.Get(), pBuffer, nCount, &dwRead, nullptr);
    nRead = dwRead;
    return bOk ? 0 : LastError();
}

int CWin32FileDevice::Write(const void* pData, std::uint32_t nCount, std::uint32_t& nWritten)
{
    DWORD dwWritten = 0;
    const BOOL bOk = ::WriteFile(m_handle.Get(), pData, nCount, &dwWritten, nullptr);
    nWritten = dwWritten;
    return bOk ? 0 : LastError();
}

int CWin32FileDevice::Move(std::int64_t nDistance, EMoveMethod method, std::uint64_t& nPosition)
{
    static constexpr DWORD kMethods[] = {FILE_BEGIN, FILE_CURRENT, FILE_END};
    LARGE_INTEGER distance{};
    distance.QuadPart = nDistance;
    LARGE_INTEGER reached{};
    if (!::SetFilePointerEx(m_handle.Get(), distance, &reached, kMethods[static_cast<int>(method)]))
        return LastError();
    nPosition = static_cast<std::uint64_t>(reached.QuadPart);
    return 0;
}

int CWin32FileDevice::SetEnd()
{
    return ::SetEndOfFile(m_handle.Get()) ? 0 : LastError();
}

int CWin32FileDevice::GetSize(std::uint64_t& nSize)
{
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(m_handle.Get(), &size))
        return LastError();
    nSize = static_cast<std::uint64_t>(size.QuadPart);
    return 0;
}
