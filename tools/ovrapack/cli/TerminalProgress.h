#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>

// Progress of a long phase on the terminal: a percentage rewritten in place on an
// interactive terminal (a console on Windows), the phase's start and end lines
// elsewhere, nothing when quiet.
class CTerminalProgress
{
public:
    CTerminalProgress(std::ostream& out, bool enabled, bool interactive);

    // Whether standard error is an interactive terminal, where lines are rewritten in
    // place; the Windows tool asks its console instead.
    static bool ErrorIsTerminal();

    void Begin(const std::string& phase, uint64_t total);
    void Update(uint64_t done);
    void End(const std::string& summary = {});

private:
    std::ostream& m_out;
    bool m_bEnabled;
    bool m_bInteractive;
    std::string m_strPhase;
    uint64_t m_nTotal = 0;
    int m_nShown = -1;
};
