#pragma once

#include "framework/files/FileDevice.h"

#include "win32/Handle.h"

// A file the system opened, owned by its handle.
class CWin32FileDevice final : public IFileDevice
{
public:
    explicit CWin32FileDevice(CFileHandle handle) : m_handle(std::move(handle)) {}

    [[nodiscard]] int Close() override;
    [[nodiscard]] int Read(void* pBuffer, std::uint32_t nCount, std::uint32_t& nRead) override;
    [[nodiscard]] int Write(const void* pData, std::uint32_t nCount, std::uint32_t& nWritten) override;
    [[nodiscard]] int Move(std::int64_t nDistance, EMoveMethod method, std::uint64_t& nPosition) override;
    [[nodiscard]] int SetEnd() override;
    [[nodiscard]] int GetSize(std::uint64_t& nSize) override;

private:
    CFileHandle m_handle;
};
