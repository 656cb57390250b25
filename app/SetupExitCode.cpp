#include "SetupExitCode.h"

int32_t CSetupExitCode::Settle(const SOptions& options, int32_t setupExitCode, bool (*rebootPending)())
{
    if (!options.quiet && !options.wait)
        return 0;
    if (options.skipRebootCheck)
        return setupExitCode;
    return rebootPending != nullptr && rebootPending() ? kRebootRequired : setupExitCode;
}
