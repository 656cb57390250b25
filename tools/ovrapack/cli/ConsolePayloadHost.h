#pragma once

#include <chrono>
#include <iosfwd>

#include "payload/NativePayloadHost.h"

// The packaging tool's host: extracts into a folder (or, when only testing, stores
// nothing) and, once the work has taken a moment, shows the progress on a terminal.
class CConsolePayloadHost : public CNativePayloadHost
{
public:
    enum class EMode { Extract, Test };

    // interactive: progressOut is a terminal, where the progress line is rewritten.
    CConsolePayloadHost(std::filesystem::path packageFolder, std::ostream& progressOut, bool interactive,
                        EMode mode = EMode::Extract);

    void PostProgress(unsigned value) override;
    void ReportOutputFileError(const CPayloadPath& path) override;
    bool StoresData() override { return m_mode == EMode::Extract; }
    // Ends the progress line, if one was shown.
    void EndProgress();

private:
    std::ostream& m_out;
    EMode m_mode;
    bool m_bInteractive;
    std::chrono::steady_clock::time_point m_start;
    std::chrono::steady_clock::time_point m_lastShown;
    unsigned m_nShownPercent = 0;
    bool m_bShown = false;
};
