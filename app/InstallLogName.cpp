#include "InstallLogName.h"

namespace {

// A printf-style "%Nd": at least `width` places, padded with `pad` (' ' or '0').
std::wstring Padded(int value, size_t width, wchar_t pad)
{
    const bool negative = value < 0;
    // Digits by hand: std::to_wstring would bring the runtime's printf into the stub.
    unsigned long long magnitude = negative ? 0ull - static_cast<unsigned long long>(value) : value;
    std::wstring digits;
    do {
        digits.insert(digits.begin(), static_cast<wchar_t>(L'0' + magnitude % 10));
        magnitude /= 10;
    } while (magnitude != 0);
    if (pad == L'0') {
        const size_t places = negative ? (width > 0 ? width - 1 : 0) : width;
        if (digits.size() < places)
            digits.insert(0, places - digits.size(), L'0');
        return negative ? L"-" + digits : digits;
    }
    if (negative)
        digits.insert(0, 1, L'-');
    if (digits.size() < width)
        digits.insert(0, width - digits.size(), L' ');
    return digits;
}

} // namespace

std::wstring CInstallLogName::Folder(const std::wstring& tempPath)
{
    return tempPath + L"OvraLog\\";
}

std::wstring CInstallLogName::Path(const std::wstring& tempPath, const SUtcTime& time)
{
    return Folder(tempPath) + L"OvraMSI" + Padded(time.year, 4, L' ') + Padded(time.month, 2, L'0') +
           Padded(time.day, 2, L'0') + L"_" + Padded(time.hour, 2, L'0') + Padded(time.minute, 2, L'0') +
           Padded(time.second, 2, L'0') + L".log";
}

std::wstring CInstallLogName::ErrorLogPath(const std::wstring& tempPath, const SUtcTime& time)
{
    return Folder(tempPath) + L"OvraSFX" + Padded(time.year, 4, L'0') + Padded(time.month, 2, L'0') +
           Padded(time.day, 2, L'0') + L"_" + Padded(time.hour, 2, L'0') + Padded(time.minute, 2, L'0') +
           Padded(time.second, 2, L'0') + L".log";
}

std::wstring CInstallLogName::Stamp(const SUtcTime& time)
{
    return Padded(time.year, 4, L'0') + L"-" + Padded(time.month, 2, L'0') + L"-" + Padded(time.day, 2, L'0') + L" " +
           Padded(time.hour, 2, L'0') + L":" + Padded(time.minute, 2, L'0') + L":" + Padded(time.second, 2, L'0') +
           L" UTC";
}
