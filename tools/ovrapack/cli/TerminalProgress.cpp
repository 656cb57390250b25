#include "TerminalProgress.h"

#include <cstdio>
#include <ostream>

#ifdef _WIN32
#include <io.h>
#define OVRA_ISATTY(fd) _isatty(fd)
#define OVRA_FILENO(f) _fileno(f)
#else
#include <unistd.h>
#define OVRA_ISATTY(fd) isatty(fd)
#define OVRA_FILENO(f) fileno(f)
#endif

CTerminalProgress::CTerminalProgress(std::ostream& out, bool enabled, bool interactive)
    : m_out(out), m_bEnabled(enabled), m_bInteractive(interactive)
{
}

bool CTerminalProgress::ErrorIsTerminal()
{
    return OVRA_ISATTY(OVRA_FILENO(stderr)) != 0;
}

void CTerminalProgress::Begin(const std::string& phase, uint64_t total)
{
    m_strPhase = phase;
    m_nTotal = total;
    m_nShown = -1;
    if (!m_bEnabled)
        return;
    if (m_bInteractive)
        Update(0);
    else
        m_out << phase << "...\n" << std::flush;
}

void CTerminalProgress::Update(uint64_t done)
{
    if (!m_bEnabled || !m_bInteractive)
        return;
    const int percent = m_nTotal == 0 ? 100 : static_cast<int>(done * 100 / m_nTotal);
    if (percent == m_nShown)
        return;
    m_nShown = percent;
    m_out << "\r" << m_strPhase << ": " << percent << "%" << std::flush;
}

void CTerminalProgress::End(const std::string& summary)
{
    if (!m_bEnabled)
        return;
    if (m_bInteractive)
        m_out << "\r" << m_strPhase << ": done" << (summary.empty() ? "" : ", " + summary) << "\n" << std::flush;
    else if (!summary.empty())
        m_out << m_strPhase << ": " << summary << "\n" << std::flush;
}
