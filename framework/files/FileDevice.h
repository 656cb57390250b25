#pragma once

#include <cstdint>

// One open file of the system. Results are 0 or the system's error code.
class IFileDevice
{
public:
    enum class EMoveMethod { Begin, Current, End };

    // Closing happens at destruction at the latest; Close reports its failure.
    virtual ~IFileDevice() = default;
    [[nodiscard]] virtual int Close() = 0;
    [[nodiscard]] virtual int Read(void* pBuffer, std::uint32_t nCount, std::uint32_t& nRead) = 0;
    [[nodiscard]] virtual int Write(const void* pData, std::uint32_t nCount, std::uint32_t& nWritten) = 0;
    [[nodiscard]] virtual int Move(std::int64_t nDistance, EMoveMethod method, std::uint64_t& nPosition) = 0;
    [[nodiscard]] virtual int SetEnd() = 0;
    [[nodiscard]] virtual int GetSize(std::uint64_t& nSize) = 0;
};
