#include "ConsolePayloadHost.h"

#include <iomanip>
#include <ostream>

#include "payload/ProgressScale.h"

namespace {
constexpr auto kQuietStart = std::chrono::milliseconds(500);
constexpr auto kInterval = std::chrono::milliseconds(100);
} // namespace

CConsolePayloadHost::CConsolePayloadHost(std::filesystem::path packageFolder, std::ostream& progressOut,
                                         bool interactive, EMode mode)
    : CNativePayloadHost(std::move(packageFolder)), m_out(progressOut), m_mode(mode), m_bInteractive(interactive),
      m_start(std::chrono::steady_clock::now())
{
}

void CConsolePayloadHost::PostProgress(unsigned value)
{
    if (!m_bInteractive)
        return;
    const auto now = std::chrono::steady_clock::now();
    const unsigned percent = value * 100 / ProgressScale::kFullScale;
    if (now - m_start < kQuietStart || (m_bShown && (now - m_lastShown < kInterval || percent == m_nShownPercent)))
        return;
    m_lastShown = now;
    m_bShown = true;
    m_nShownPercent = percent;
    const bool decoding = value < ProgressScale::kDataPhaseEnd;
    const char* phase = decoding ? "decoding" : (m_mode == EMode::Test ? "checking files" : "writing files");
    m_out << "\r" << (m_mode == EMode::Test ? "testing: " : "extracting: ") << std::setw(3) << percent << "% ("
          << phase << ")   " << std::flush;
}

void CConsolePayloadHost::ReportOutputFileError(const CPayloadPath& path)
{
    CNativePayloadHost::ReportOutputFileError(path);
    EndProgress();
    m_out << "ovrapack: Unable to open the output file " << PathToText(path) << ".\n";
}

void CConsolePayloadHost::EndProgress()
{
    if (m_bShown)
        m_out << "\n";
    m_bShown = false;
}
