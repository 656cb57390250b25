#pragma once

#include <cstdint>
#include <exception>

// The error the catalogue and its registry keys raise internally: a Win32 error number
// and the layer that raised it. Public operations turn it into an HRESULT (ToHResult).
class COvraSXSError : public std::exception
{
public:
    static constexpr std::size_t kTextCapacity = 1024;

    COvraSXSError(std::uint32_t error, std::uint32_t origin);
    ~COvraSXSError() override;

    // "COvraSXSError 0x<error> -> 0x<origin> [ <system message> ]", at most 1023 bytes.
    // The text belongs to this object, so threads raising errors at once keep their own.
    const char* what() const noexcept override;

    std::uint32_t GetError() const { return m_nError; }
    std::uint32_t GetOrigin() const { return m_nOrigin; }

private:
    std::uint32_t m_nError;
    std::uint32_t m_nOrigin;
    char m_szText[kTextCapacity];
};
