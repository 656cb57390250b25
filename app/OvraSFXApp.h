#pragma once

#include "CleanupPlan.h"
#include "ErrorReporter.h"
#include "SFXCommandLine.h"
#include "dialog/PayloadExtractor.h"
#include "framework/localization/OfcWinApp.h"

#include <string>

class COvraSFXDlg;

// The installer's application object: prepares the process, settles the
// extraction root and the disk space, and owns the process exit code.
class COvraSFXApp : public COfcWinApp
{
public:
    // `extractPayload` is the pipeline the dialog's worker runs.
    explicit COvraSFXApp(ExtractPayloadFn extractPayload);
    ~COvraSFXApp() override;

    BOOL InitInstance() override;
    int ExitInstance() override;

    bool DetermineExtractionRoot();
    bool CheckDiskSpace(bool showMessage);
    void RemoveExtractionRoot();
    // From here on "/CLEANUP" may remove the package folder even inside a root that existed.
    void MarkExtractionStarted() { m_cleanupPlan.MarkExtractionStarted(); }

    COvraSFXDlg* m_pExtractDlg = nullptr;
    int32_t m_nExitCode = 0;
    std::wstring m_strExtractRoot;
    CSFXCommandLine m_cmdLine;

    // Exit codes of an early stop.
    static constexpr int32_t kExitNoDiskSpace = 100;
    static constexpr int32_t kExitNoRoot = 101;
    // Exit codes of a run that installed nothing: a caller running us with "/w" or
    // "/q" must not carry on as if the product were there.
    static constexpr int32_t kExitExtractionFailed = 102;
    static constexpr int32_t kExitSetupNotStarted = 103;
    static constexpr int32_t kExitCancelled = 1602;

    // Boxes, or with "/q" the error log: every error the installer shows goes here.
    const CErrorReporter& ErrorReporter() const { return m_errorReporter; }

private:
    void CaptureCleanupPlan();
    void ShowDiskSpaceMessage(const std::wstring& drive, uint64_t requiredBytes);
    void CreateExtractionDialog();

    CCleanupPlan m_cleanupPlan;
    CErrorReporter m_errorReporter;
    ExtractPayloadFn m_pfnExtractPayload;
};

// The one application object, as the framework's current application.
COvraSFXApp* GetOvraSFXApp();
