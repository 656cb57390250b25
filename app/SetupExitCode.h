#pragma once

#include <cstdint>

// Turns the setup program's exit code into the installer's own. Portable.
class CSetupExitCode
{
public:
    static constexpr int32_t kRebootRequired = 3010;

    struct SOptions
    {
        bool quiet;
        bool wait;
        bool skipRebootCheck;
    };

    // For a setup program that was started: 0 when it was not waited for; its own
    // code with "/s"; otherwise 3010 when a reboot is pending (asked only then),
    // else its own code.
    static int32_t Settle(const SOptions& options, int32_t setupExitCode, bool (*rebootPending)());
};
