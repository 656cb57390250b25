#pragma once

#include <string>

#include "InstallLogName.h"

// One error of a quiet run as it stands in the error log: when, which installer,
// and the text its box would have shown. Portable.
class CErrorLogEntry
{
public:
    // The stamp, "Package: <path>", the caption and each non-empty line of `text`,
    // every line ended by CR LF, then one empty line to part it from the next entry.
    static std::wstring Format(const CInstallLogName::SUtcTime& time, const std::wstring& package,
                               const std::wstring& caption, const std::wstring& text);
};
