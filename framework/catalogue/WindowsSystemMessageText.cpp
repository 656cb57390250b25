#include "SystemMessageText.h"

#include <windows.h>

#include "win32/Handle.h"

std::string SystemMessageAnsi(std::uint32_t error)
{
    CLocalHandle owner;
    // FORMAT_MESSAGE_MAX_WIDTH_MASK folds the message into one line.
    const DWORD length = ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                              FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_MAX_WIDTH_MASK,
                                          nullptr, error, LANG_USER_DEFAULT, reinterpret_cast<wchar_t*>(owner.Put()),
                                          0, nullptr);
    const auto* buffer = static_cast<const wchar_t*>(owner.Get());
    if (length == 0 || buffer == nullptr)
        return {};
    const int size = ::WideCharToMultiByte(CP_ACP, 0, buffer, static_cast<int>(length), nullptr, 0, nullptr, nullptr);
    if (size <= 0)
        return {};
    std::string text(static_cast<std::size_t>(size), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, buffer, static_cast<int>(length), text.data(), size, nullptr, nullptr);
    return text;
}
