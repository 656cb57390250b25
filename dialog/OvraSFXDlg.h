#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "BitmapEx.h"
#include "BitmapStatic.h"
#include "ExtractionOwner.h"
#include "Label.h"
#include "payload/PayloadExtraction.h"
#include "win32/Dialog.h"
#include "win32/ProgressCtrl.h"
#include "win32/WorkerThread.h"

// The installer's one window: picture, title, guide text, progress bar and Cancel.
// It runs the payload pipeline on a worker thread and has its owner start the setup
// program once extraction has finished. It deletes itself after its window is
// destroyed.
class COvraSFXDlg : public CDialog
{
public:
    COvraSFXDlg();
    ~COvraSFXDlg() override;

    // Exit codes of a run that ends here instead of in a launch.
    static constexpr int32_t kExitExtractionFailed = 102;
    static constexpr int32_t kExitCancelled = 1602;

    // Shows the appended picture, or the default bitmap; true for the appended one.
    bool LoadBackgroundPicture();

    // Set by the application before the window is created.
    HINSTANCE m_hAppInstance = nullptr;
    std::wstring m_strSetupArgs;
    bool m_bQuiet = false;
    bool m_bExtractOnly = false;
    bool m_bWait = false;
    bool m_bSkipRebootCheck = false;
    ExtractPayloadFn m_pfnExtractPayload = nullptr;
    // Outlives the dialog and its worker; none in tests that make a bare dialog.
    IExtractionOwner* m_pOwner = nullptr;

protected:
    void DoDataExchange() override;
    void PostNcDestroy() override;
    BOOL OnInitDialog() override;
    void OnCancel() override;
    bool OnCommand(WORD id, WORD code, HWND control) override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    struct SExtractionJob;

    static unsigned ExtractionThreadProc(SExtractionJob& job);
    static bool WaitBeforeLaunch();

    LRESULT OnProgress(WPARAM wParam, LPARAM lParam);
    LRESULT OnExtracted(WPARAM wParam, LPARAM lParam);
    LRESULT OnFailed(WPARAM wParam, LPARAM lParam);
    void OnCancelButton();
    void OnPaint();
    void StartWorker();
    void WaitForWorker(DWORD milliseconds);
    void SetExitCode(int32_t code);
    void ReportError(const std::wstring& text, const std::wstring& caption) const;

    HICON m_hIcon;
    bool m_bWaiting = false;
    std::unique_ptr<CWorkerThread> m_pWorkerThread;
    CProgressCtrl m_progress;
    CLabel m_lblTitle;
    CLabel m_lblMessage;
    CBitmapEx m_bmpBackground;
    CBitmapStatic m_staticBackground;
};
