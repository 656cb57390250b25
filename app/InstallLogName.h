#pragma once

#include <string>

// The installation log's place under the temporary folder. Portable.
class CInstallLogName
{
public:
    struct CUtcTime
    {
        int year, month, day, hour, minute, second;
    };

    // "<temp>OvraLog\": the folder the log goes into.
    static std::wstring Folder(const std::wstring& tempPath);
    // "<temp>OvraLog\OvraMSI" YYYYMMDD "_" hhmmss ".log"; the year is padded with
    // blanks to four places, the other fields with zeros to two.
    static std::wstring Path(const std::wstring& tempPath, const CUtcTime& time);
};
