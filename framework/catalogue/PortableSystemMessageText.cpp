#include "SystemMessageText.h"

std::string SystemMessageAnsi(std::uint32_t)
{
    return {};
}
