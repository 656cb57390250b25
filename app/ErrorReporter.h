#pragma once

#include <windows.h>

#include <string>

// Says what went wrong: in a message box, or in a quiet run, where nobody may be
// there to close one (a deployment agent, a service, a scheduled task), in the
// error log "<temp>OvraLog\OvraSFX<yyyyMMdd_HHmmss>.log".
class CErrorReporter
{
public:
    // `package` is the installer's own path, named in every log entry. The log's
    // name is fixed here, so every error of one run lands in one file.
    void Configure(bool quiet, std::wstring package);

    // Safe from any thread; a box is owned by `owner` (none when null).
    void Report(HWND owner, const std::wstring& text, const std::wstring& caption) const;

    bool IsQuiet() const { return m_bQuiet; }
    // Empty unless quiet and the system has a temporary folder.
    const std::wstring& LogPath() const { return m_strLogPath; }

private:
    void AppendToLog(const std::wstring& text, const std::wstring& caption) const;

    bool m_bQuiet = false;
    std::wstring m_strPackage;
    std::wstring m_strTempPath;
    std::wstring m_strLogPath;
};
