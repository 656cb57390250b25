#pragma once

#include <string>

// The command line that opens an address with the browser command registered for web
// pages, which names the page as "%1".
namespace BrowserCommand {
// An address goes to the browser as one quoted argument, so it may hold neither a
// double quote nor a control character.
bool IsAcceptableAddress(const std::wstring& address);

// The registered command cut at its first "\"%1\"" (else its first "%1"), then a space
// and the address in double quotes (its trailing backslashes doubled, as the quote
// rules of command lines ask); empty when the address is not acceptable.
std::wstring Build(const std::wstring& registeredCommand, const std::wstring& address);
} // namespace BrowserCommand
