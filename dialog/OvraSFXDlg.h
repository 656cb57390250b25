#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "BitmapEx.h"
#include "BitmapStatic.h"
#include "Label.h"
#include "PayloadExtractor.h"
#include "win32/Dialog.h"
#include "win32/ProgressCtrl.h"
#include "win32/WorkerThread.h"

// The installer's one window: picture, title, guide text, progress bar and Cancel.
// It runs the payload pipeline on a worker thread and starts the setup program
// once extraction has finished. It deletes itself after its window is destroyed.
class COvraSFXDlg : public CDialog
{
public:
    COvraSFXDlg();
    ~COvraSFXDlg() override;

    // Shows the appended picture, or the default bitmap; true for the appended one.
    bool LoadBackgroundPicture();
    // Starts `program` with the arguments and the log option; true when it started.
    bool LaunchSetup(const wchar_t* program, const wchar_t* setupArgs, DWORD* exitCode, BOOL quiet, BOOL wait);

    // Set by the application before the window is created.
    HINSTANCE m_hAppInstance = nullptr;
    std::wstring m_strSetupArgs;
    BOOL m_bQuiet = 0;
    BOOL m_bExtractOnly = 0;
    BOOL m_bWait = 0;
    BOOL m_bSkipRebootCheck = 0;
    ExtractPayloadFn m_pfnExtractPayload = nullptr;

protected:
    void DoDataExchange() override;
    void PostNcDestroy() override;
    BOOL OnInitDialog() override;
    void OnCancel() override;
    bool OnCommand(WORD id, WORD code, HWND control) override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    static unsigned ExtractionThreadProc(void* param);
    static bool WaitBeforeLaunch();

    LRESULT OnProgress(WPARAM wParam, LPARAM lParam);
    LRESULT OnExtracted(WPARAM wParam, LPARAM lParam);
    LRESULT OnFailed(WPARAM wParam, LPARAM lParam);
    void OnCancelButton();
    void OnPaint();
    void StartWorker();
    void WaitForWorker(DWORD milliseconds);
    void SettleExitCode(DWORD setupExitCode);

    HICON m_hIcon;
    bool m_bWaiting = false;
    std::unique_ptr<CWorkerThread> m_pWorkerThread;
    CProgressCtrl m_progress;
    CLabel m_lblTitle;
    CLabel m_lblMessage;
    CBitmapEx m_bmpBackground;
    CBitmapStatic m_staticBackground;
};
