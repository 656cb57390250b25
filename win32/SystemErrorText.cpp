#include "SystemErrorText.h"

#include "Handle.h"

std::wstring SystemErrorText(DWORD code, DWORD language)
{
    CLocalHandle buffer;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, language,
        reinterpret_cast<wchar_t*>(buffer.Put()), 0, nullptr);
    std::wstring text =
        length > 0 && buffer ? std::wstring(static_cast<const wchar_t*>(buffer.Get()), length) : std::wstring();
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' '))
        text.pop_back();
    if (!text.empty())
        return text;
    // Digits by hand: std::to_wstring would bring the runtime's printf into the stub.
    std::wstring digits;
    do {
        digits.insert(digits.begin(), static_cast<wchar_t>(L'0' + code % 10));
        code /= 10;
    } while (code != 0);
    return L"error " + digits;
}
