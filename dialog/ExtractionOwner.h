#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

// What the extraction dialog asks of the application above it; the application
// implements it, so the dialog knows nothing else of the layers above.
class IExtractionOwner
{
public:
    // Copies of the command line that decide the launch.
    struct SSetupRequest
    {
        std::wstring strSetupArgs;
        bool bQuiet = false;
        bool bExtractOnly = false;
        bool bWait = false;
        bool bSkipRebootCheck = false;
    };

    virtual ~IExtractionOwner() = default;

    // Extraction starts now: the package folder it goes into, fixed from here on.
    virtual std::wstring BeginExtraction() = 0;
    // A box owned by `owner`, or in a quiet run the error log. Any thread.
    virtual void ReportError(HWND owner, const std::wstring& text, const std::wstring& caption) const = 0;
    // Extraction has succeeded: starts the setup program (the dialog owns the shell's
    // windows and is hidden once it started) and settles the exit code.
    virtual void LaunchSetup(HWND dialog, const SSetupRequest& request) = 0;
    // The run ends without a launch (failed, cancelled).
    virtual void SetExitCode(int32_t code) = 0;
    // The dialog's window is gone; the dialog object deletes itself right after.
    virtual void OnDialogDestroyed() = 0;
};

// Reports through `owner`, or in a plain box where no application owns the dialog.
inline void ReportExtractionError(const IExtractionOwner* owner, HWND window, const std::wstring& text,
                                  const std::wstring& caption)
{
    if (owner != nullptr)
        owner->ReportError(window, text, caption);
    else
        ::MessageBoxW(window, text.c_str(), caption.c_str(), MB_ICONERROR);
}
