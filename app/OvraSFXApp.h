#pragma once

#include "CleanupPlan.h"
#include "SFXCommandLine.h"
#include "dialog/PayloadExtractor.h"
#include "framework/localization/OfcWinApp.h"

#include <memory>
#include <string>

class COvraSFXDlg;
class CShortcutFixer;

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

private:
    void CaptureCleanupPlan();
    void ShowDiskSpaceMessage(const std::wstring& drive, uint64_t requiredBytes);
    void CreateExtractionDialog();

    CCleanupPlan m_cleanupPlan;
    ExtractPayloadFn m_pfnExtractPayload;

    // The framework's accelerator-key fixers, one of each variant, for the life of the run.
    void CreateShortcutFixers();
    void DestroyShortcutFixers();
    std::unique_ptr<CShortcutFixer> m_pShortcutFixer;
    std::unique_ptr<CShortcutFixer> m_pShortcutFixerAsia;
    std::unique_ptr<CShortcutFixer> m_pShortcutFixerChinese;
};

// The one application object, as the framework's current application.
COvraSFXApp* GetOvraSFXApp();
