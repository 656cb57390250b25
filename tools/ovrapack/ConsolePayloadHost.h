#pragma once

#include <chrono>
#include <iosfwd>

#include "payload/NativePayloadHost.h"

// The packaging tool's host: extracts into a folder and, once the work has taken a
// moment, shows the progress on the terminal.
class CConsolePayloadHost : public CNativePayloadHost
{
public:
    CConsolePayloadHost(std::filesystem::path packageFolder, std::ostream& progressOut);

    void PostProgress(unsigned value) override;
    void ReportOutputFileError(const CPayloadPath& path) override;
    // Ends the progress line, if one was shown.
    void EndProgress();

private:
    std::ostream& m_out;
    std::chrono::steady_clock::time_point m_start;
    std::chrono::steady_clock::time_point m_lastShown;
    unsigned m_nShownPercent = 0;
    bool m_bShown = false;
};
