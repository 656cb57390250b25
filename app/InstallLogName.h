#pragma once

#include <string>

// The installation log's place under the temporary folder. Portable.
class CInstallLogName
{
public:
    struct SUtcTime
    {
        int year, month, day, hour, minute, second;
    };

    // "<temp>OvraLog\": the folder the log goes into.
    static std::wstring Folder(const std::wstring& tempPath);
    // "<temp>OvraLog\OvraMSI" YYYYMMDD "_" hhmmss ".log"; the year is padded with
    // blanks to four places, the other fields with zeros to two.
    static std::wstring Path(const std::wstring& tempPath, const SUtcTime& time);
    // "<temp>OvraLog\OvraSFX" yyyyMMdd "_" HHmmss ".log": where a quiet run writes the
    // errors it could not show.
    static std::wstring ErrorLogPath(const std::wstring& tempPath, const SUtcTime& time);
    // "yyyy-MM-dd HH:mm:ss UTC"
    static std::wstring Stamp(const SUtcTime& time);
};
