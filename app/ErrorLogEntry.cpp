#include "ErrorLogEntry.h"

namespace {
constexpr wchar_t kLineEnd[] = L"\r\n";
}

std::wstring CErrorLogEntry::Format(const CInstallLogName::SUtcTime& time, const std::wstring& package,
                                    const std::wstring& caption, const std::wstring& text)
{
    std::wstring entry = CInstallLogName::Stamp(time) + kLineEnd;
    entry += L"Package: " + package + kLineEnd;
    entry += caption + kLineEnd;
    // The payload's texts come with bare LFs and empty lines around them.
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find_first_of(L"\r\n", start);
        if (end == std::wstring::npos)
            end = text.size();
        if (end > start)
            entry += text.substr(start, end - start) + kLineEnd;
        start = end + 1;
    }
    return entry + kLineEnd;
}
