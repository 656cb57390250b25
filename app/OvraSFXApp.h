#pragma once

#include "CleanupPlan.h"
#include "ErrorReporter.h"
#include "dialog/ExtractionOwner.h"
#include "SFXCommandLine.h"
#include "framework/application/OfcWinApp.h"
#include "payload/PayloadExtraction.h"

#include <string>

class COvraSFXDlg;

// The installer's application object: prepares the process, settles the
// extraction root and the disk space, and owns the process exit code.
class COvraSFXApp : public COfcWinApp, public IExtractionOwner
{
public:
    // `extractPayload` is the pipeline the dialog's worker runs.
    explicit COvraSFXApp(ExtractPayloadFn extractPayload);
    ~COvraSFXApp() override;

    BOOL InitInstance() override;
    int ExitInstance() override;

    [[nodiscard]] bool DetermineExtractionRoot();
    [[nodiscard]] bool CheckDiskSpace(bool showMessage);
    void RemoveExtractionRoot();

    COvraSFXDlg* m_pExtractDlg = nullptr;
    int32_t m_nExitCode = 0;
    std::wstring m_strExtractRoot;
    CSFXCommandLine m_cmdLine;

    // Exit codes of an early stop.
    static constexpr int32_t kExitNoDiskSpace = 100;
    static constexpr int32_t kExitNoRoot = 101;
    // What the extraction dialog asks of the application. Every error the installer
    // shows goes through the error reporter: a box, or with "/q" the error log.
    std::wstring BeginExtraction() override;
    void ReportError(HWND owner, const std::wstring& text, const std::wstring& caption) const override;
    void LaunchSetup(HWND dialog, const SSetupRequest& request) override;
    void SetExitCode(int32_t code) override { m_nExitCode = code; }
    void OnDialogDestroyed() override;

private:
    void CaptureCleanupPlan();
    [[nodiscard]] bool CheckWorkingFolder() const;
    std::wstring FullPackageFolder() const;
    void ShowDiskSpaceMessage(const std::wstring& drive, uint64_t requiredBytes);
    void CreateExtractionDialog();

    CCleanupPlan m_cleanupPlan;
    CErrorReporter m_errorReporter;
    ExtractPayloadFn m_pfnExtractPayload;
};

// The one application object, as the framework's current application.
COvraSFXApp* GetOvraSFXApp();
