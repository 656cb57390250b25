#include "OvraSXSError.h"

#include "SystemMessageText.h"

#include <cstdio>

COvraSXSError::COvraSXSError(std::uint32_t error, std::uint32_t origin) : m_nError(error), m_nOrigin(origin)
{
    const std::string message = SystemMessageAnsi(error);
    std::snprintf(m_szText, sizeof(m_szText), "COvraSXSError 0x%.8X -> 0x%.8X [ %s ]", static_cast<unsigned>(error),
                  static_cast<unsigned>(origin), message.c_str());
}

COvraSXSError::~COvraSXSError() = default;

const char* COvraSXSError::what() const noexcept
{
    return m_szText;
}
