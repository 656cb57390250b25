#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

#include "dialog/ExtractionOwner.h"

class CErrorReporter;

// Starts the package's setup program once extraction has succeeded: from the
// package folder, with the pass-through arguments and the log option, waited for
// with "/q" or "/w", and turns its exit code into the installer's.
class CSetupLauncher
{
public:
    // Exit code when the program cannot be started.
    static constexpr int32_t kExitSetupNotStarted = 103;

    explicit CSetupLauncher(const CErrorReporter& reporter) : m_reporter(reporter) {}

    // Makes the package folder current and starts the setup program unless "/u" was
    // given or the package names none. The exit code to take, or none to keep.
    [[nodiscard]] std::optional<int32_t> Run(HWND dialog, const IExtractionOwner::SSetupRequest& request,
                                             const std::wstring& packageFolder) const;

    // Starts `program` with the arguments and the log option; true when it started.
    // With `quiet` or `wait` it waits for the program and reads its exit code.
    [[nodiscard]] bool LaunchSetup(HWND dialog, const wchar_t* program, const wchar_t* setupArgs, DWORD* exitCode,
                                   bool quiet, bool wait) const;

private:
    const CErrorReporter& m_reporter;
};
