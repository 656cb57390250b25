#include "BrowserCommand.h"

#include <algorithm>

namespace BrowserCommand {

bool IsAcceptableAddress(const std::wstring& address)
{
    return std::none_of(address.begin(), address.end(),
                        [](wchar_t c) { return c == L'"' || c < 0x20 || c == 0x7F || (c >= 0x80 && c < 0xA0); });
}

std::wstring Build(const std::wstring& registeredCommand, const std::wstring& address)
{
    if (!IsAcceptableAddress(address))
        return std::wstring();
    std::wstring command = registeredCommand;
    size_t cut = command.find(L"\"%1\"");
    if (cut == std::wstring::npos)
        cut = command.find(L"%1");
    if (cut != std::wstring::npos)
        command.resize(cut);
    // Backslashes before a quote escape it: those the address ends with are doubled, so
    // that the closing quote stays a quote and the program reads them as they were.
    const size_t trailing = address.size() - (address.find_last_not_of(L'\\') + 1);
    return command + L" \"" + address + std::wstring(trailing, L'\\') + L'"';
}

} // namespace BrowserCommand
