#include "OvraSFXDlg.h"

#include "framework/localization/WindowLocalization.h"

#include <shellapi.h>

#include <cstring>

#include "AppendedPicture.h"
#include "Picture.h"
#include "PictureBitmap.h"
#include "ProgressProtocol.h"
#include "StubPayloadHost.h"
#include "app/InstallLogPath.h"
#include "app/OvraSFXApp.h"
#include "app/PackageFolder.h"
#include "app/RebootCheck.h"
#include "app/SetupExitCode.h"
#include "app/SetupParameters.h"
#include "framework/localization/LocalizedString.h"
#include "payload/PatchBlock.h"
#include "resources/resource.h"
#include "win32/FileSystemPath.h"
#include "win32/Handle.h"
#include "win32/PaintDC.h"
#include "win32/StringFormat.h"
#include "win32/TextConversion.h"
#include "win32/WinApp.h"

namespace {
constexpr short kProgressRangeEnd = static_cast<short>(ProgressProtocol::kFullScale);
constexpr int kTitlePoints = 26;
constexpr int kMessagePoints = 10;
constexpr DWORD kSettlingWaitMs = 5000;
constexpr DWORD kSettlingPollMs = 100;
constexpr DWORD kWorkerEndWaitMs = 1000;
constexpr DWORD kModulePathUnits = 261;

// What the worker needs, copied before it starts: the worker never touches the
// dialog object, which deletes itself as soon as its window is gone.
struct CExtractionJob
{
    HWND hDialog;
    HINSTANCE hAppInstance;
    uint32_t streamOffset;
    ExtractPayloadFn extract;
    CStubPayloadHost host;
};

std::wstring LoadText(UINT id)
{
    std::wstring text;
    LoadLocalizedString(text, id);
    return text;
}

// Owned by the dialog's window, shown from the worker. The main thread answers the
// messages the box sends while it waits for the worker, so neither waits forever.
void ShowWorkerError(HWND dialog, const std::wstring& text)
{
    if (g_bCancelExtraction != 0)
        return;
    const std::wstring caption = LoadText(IDS_EXTRACTION_FAILED);
    ::MessageBoxW(dialog, text.c_str(), caption.c_str(), MB_ICONERROR);
}

std::wstring ErrorBufferText(const char* buffer)
{
    const size_t length = ::strnlen(buffer, PayloadErrorText::kBytes);
    return AnsiToWide(std::string(buffer, length), CP_THREAD_ACP);
}
} // namespace

COvraSFXDlg::COvraSFXDlg()
    : CDialog(IDD_OVRASFX_DIALOG),
      m_hIcon(::LoadIconW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDR_MAINFRAME)))
{
}

COvraSFXDlg::~COvraSFXDlg()
{
    COvraSFXApp* app = GetOvraSFXApp();
    if (app != nullptr && app->m_pExtractDlg == this)
        app->m_pExtractDlg = nullptr;
}

void COvraSFXDlg::DoDataExchange()
{
    DDX_Control(this, IDC_PROGRESS, m_progress);
    DDX_Control(this, IDC_WELCOME, m_lblTitle);
    DDX_Control(this, IDC_GUIDE, m_lblMessage);
    DDX_Control(this, IDC_BACKGROUND, m_staticBackground);
}

void COvraSFXDlg::PostNcDestroy()
{
    CDialog::PostNcDestroy();
    delete this;
}

BOOL COvraSFXDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    LocalizeWindow(this, nullptr);

    m_lblTitle.StoreCaption(LoadText(IDS_WELCOME));
    m_lblTitle.SetTransparentMode(true).SetBold(true).SetPointSize(kTitlePoints);
    m_lblMessage.StoreCaption(LoadText(IDS_WIZARD_GUIDE));
    m_lblMessage.SetTransparentMode(true).SetBold(false).SetPointSize(kMessagePoints);

    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));

    m_progress.SetRange(0, kProgressRangeEnd);
    m_progress.SetPos(0);

    LoadBackgroundPicture();

    g_bCancelExtraction = 0;
    StartWorker();
    ShowWindow(SW_HIDE);
    return TRUE;
}

void COvraSFXDlg::StartWorker()
{
    if (COvraSFXApp* app = GetOvraSFXApp())
        app->MarkExtractionStarted();
    auto job = std::make_unique<CExtractionJob>(CExtractionJob{
        m_hWnd, m_hAppInstance, CPatchBlock::Current().StreamOffset(), m_pfnExtractPayload,
        CStubPayloadHost(m_hWnd, &GetPackageFolder)});
    m_pWorkerThread = CWorkerThread::Begin(&COvraSFXDlg::ExtractionThreadProc, job.get());
    if (m_pWorkerThread) {
        job.release();
        return;
    }
    // Without a worker nothing would ever end the dialog.
    const std::wstring text = FormatString(L"%s\n(%lu)", LoadText(IDS_COULD_NOT_OPEN_FILE).c_str(),
                                           static_cast<unsigned long>(::GetLastError()));
    ::MessageBoxW(m_hWnd, text.c_str(), LoadText(IDS_EXTRACTION_FAILED).c_str(), MB_ICONERROR);
    PostMessage(WM_SFX_FAILED);
}

unsigned COvraSFXDlg::ExtractionThreadProc(void* param)
{
    const std::unique_ptr<CExtractionJob> job(static_cast<CExtractionJob*>(param));
    wchar_t path[kModulePathUnits + 1] = {};
    const DWORD length = ::GetModuleFileNameW(job->hAppInstance, path, kModulePathUnits);
    if (length == 0 || length > kModulePathUnits - 1) {
        ShowWorkerError(job->hDialog, LoadText(IDS_COULD_NOT_OPEN_FILE));
        ::PostMessageW(job->hDialog, WM_SFX_FAILED, 0, 0);
        return 0;
    }

    char errorText[PayloadErrorText::kBytes] = {};
    int result = 1;
    if (job->extract != nullptr)
        result = job->extract(std::filesystem::path(path), job->streamOffset, errorText, &job->host);
    else
        std::strncpy(errorText, "\nError: no payload pipeline\n", sizeof(errorText) - 1);
    errorText[sizeof(errorText) - 1] = '\0';

    if (result == PayloadErrorText::kCancelled)
        return 0;
    if (result != 0) {
        ShowWorkerError(job->hDialog, ErrorBufferText(errorText));
        ::PostMessageW(job->hDialog, WM_SFX_FAILED, 0, 0);
        return 0;
    }
    if (WaitBeforeLaunch())
        ::PostMessageW(job->hDialog, WM_SFX_EXTRACTED, 0, 0);
    return 0;
}

bool COvraSFXDlg::WaitBeforeLaunch()
{
    const DWORD deadline = ::GetTickCount() + kSettlingWaitMs;
    while (deadline > ::GetTickCount()) {
        MSG msg;
        if (::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE) && !CWorkerThread::PumpMessage())
            return false;
        if (g_bCancelExtraction != 0)
            return false;
        ::Sleep(kSettlingPollMs);
    }
    return true;
}

bool COvraSFXDlg::OnCommand(WORD id, WORD code, HWND control)
{
    // The dialog manager turns Esc into this same command.
    if (id == IDCANCEL && code == BN_CLICKED) {
        OnCancelButton();
        return true;
    }
    return CDialog::OnCommand(id, code, control);
}

bool COvraSFXDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (message) {
    case WM_SFX_PROGRESS:
        result = OnProgress(wParam, lParam);
        return true;
    case WM_SFX_EXTRACTED:
        result = OnExtracted(wParam, lParam);
        return true;
    case WM_SFX_FAILED:
        result = OnFailed(wParam, lParam);
        return true;
    case WM_PAINT:
        if (!IsIconic())
            return false;
        OnPaint();
        result = 0;
        return true;
    case WM_QUERYDRAGICON:
        result = reinterpret_cast<LRESULT>(m_hIcon);
        return true;
    default:
        return CDialog::OnMessage(message, wParam, lParam, result);
    }
}

void COvraSFXDlg::OnPaint()
{
    const CPaintDC paint(m_hWnd);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(paint.Get()), 0);
    const int iconWidth = ::GetSystemMetrics(SM_CXICON);
    const int iconHeight = ::GetSystemMetrics(SM_CYICON);
    const RECT client = GetClientRect();
    const int x = (client.right - client.left - iconWidth + 1) / 2;
    const int y = (client.bottom - client.top - iconHeight + 1) / 2;
    ::DrawIcon(paint.Get(), x, y, m_hIcon);
}

LRESULT COvraSFXDlg::OnProgress(WPARAM wParam, LPARAM /*lParam*/)
{
    // Only the latest value matters. Where the window is slower than the worker (a
    // slow machine) a backlog would keep the caption seconds behind the extraction,
    // and the wait before the launch could pass before the user saw it begin.
    MSG newer{};
    while (::PeekMessageW(&newer, m_hWnd, WM_SFX_PROGRESS, WM_SFX_PROGRESS, PM_REMOVE))
        wParam = newer.wParam;
    m_progress.SetPos(static_cast<int>(wParam));
    // Progress comes in fifths of a percent and the caption shows whole ones; setting
    // it again unchanged would redraw the frame for nothing.
    const std::wstring format = LoadText(IDS_EXTRACTING_PERCENT);
    const std::wstring caption = FormatString(format.c_str(), static_cast<int>(wParam / 5));
    if (caption != GetWindowText())
        SetWindowText(caption);
    return 0;
}

void COvraSFXDlg::WaitForWorker(DWORD milliseconds)
{
    if (m_pWorkerThread)
        m_pWorkerThread->WaitAnsweringSentMessages(milliseconds);
}

LRESULT COvraSFXDlg::OnExtracted(WPARAM /*wParam*/, LPARAM /*lParam*/)
{
    WaitForWorker(kWorkerEndWaitMs);
    // Resolved before the directory changes: a relative root would otherwise lead
    // the setup path nowhere once the package folder is the current directory.
    std::wstring folder = GetPackageFolder();
    const std::wstring fullFolder = FileSystemPath::FullPath(folder);
    if (!fullFolder.empty())
        folder = fullFolder;
    ::SetCurrentDirectoryW(folder.c_str());
    const std::wstring setupName = AnsiToWide(CPatchBlock::Current().SetupName(), CP_ACP);
    const std::wstring setupPath = folder + setupName;
    if (!m_bExtractOnly && !setupName.empty()) {
        DWORD setupExitCode = 0;
        if (LaunchSetup(setupPath.c_str(), m_strSetupArgs.c_str(), &setupExitCode, m_bQuiet, m_bWait))
            SettleExitCode(setupExitCode);
    }
    DestroyWindow();
    return 0;
}

void COvraSFXDlg::SettleExitCode(DWORD setupExitCode)
{
    COvraSFXApp* app = GetOvraSFXApp();
    if (app == nullptr)
        return;
    const CSetupExitCode::Options options{m_bQuiet != 0, m_bWait != 0, m_bSkipRebootCheck != 0};
    app->m_nExitCode = CSetupExitCode::Settle(options, static_cast<int32_t>(setupExitCode), &IsRebootPending);
}

bool COvraSFXDlg::LaunchSetup(const wchar_t* program, const wchar_t* setupArgs, DWORD* exitCode, BOOL quiet,
                              BOOL wait)
{
    const std::wstring parameters =
        CSetupParameters::Build(setupArgs != nullptr ? setupArgs : L"", quiet != 0, BuildInstallLogPath());
    ::OutputDebugStringW(FormatString(L"\r\nExe:%s Parameter:%s\r\n", program, parameters.c_str()).c_str());

    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_NOCLOSEPROCESS;
    info.hwnd = m_hWnd;
    info.lpFile = program;
    info.lpParameters = parameters.c_str();
    info.nShow = SW_SHOW;
    const bool started = ::ShellExecuteExW(&info) != FALSE;
    ShowWindow(SW_HIDE);
    if (!started)
        return false;
    // The shell may start the program without handing out a process (DDE); then
    // there is nothing to wait for and the exit code stays 0.
    const CKernelHandle process(info.hProcess);
    if ((quiet || wait) && process) {
        ::WaitForSingleObject(process.Get(), INFINITE);
        DWORD code = 0;
        if (::GetExitCodeProcess(process.Get(), &code) && exitCode != nullptr)
            *exitCode = code;
    }
    return true;
}

LRESULT COvraSFXDlg::OnFailed(WPARAM /*wParam*/, LPARAM /*lParam*/)
{
    WaitForWorker(kWorkerEndWaitMs);
    OnCancel();
    return 0;
}

void COvraSFXDlg::OnCancelButton()
{
    g_bCancelExtraction = 1;
    WaitForWorker(INFINITE);
    OnCancel();
}

void COvraSFXDlg::OnCancel()
{
    DestroyWindow();
}

bool COvraSFXDlg::LoadBackgroundPicture()
{
    const CPatchBlock patch = CPatchBlock::Current();
    bool shown = false;
    const std::wstring path = FileSystemPath::ModulePath(m_hAppInstance);
    if (!path.empty()) {
        const std::vector<uint8_t> bytes = ReadAppendedPicture(path, patch.PictureOffset(), patch.StreamOffset());
        CPicture picture;
        if (!bytes.empty() && picture.Load(bytes.data(), bytes.size())) {
            RenderPictureToBitmap(&m_bmpBackground, picture);
            m_staticBackground.SetBitmap(m_bmpBackground);
            shown = true;
        }
    }
    if (!shown)
        m_staticBackground.LoadDefaultBitmap();
    return shown;
}
