#include "OvraSFXDlg.h"

#include <cstring>

#include "AppendedPicture.h"
#include "Picture.h"
#include "PictureBitmap.h"
#include "ProgressProtocol.h"
#include "StubPayloadHost.h"
#include "framework/localization/LocalizedString.h"
#include "framework/localization/WindowLocalization.h"
#include "payload/ErrorTextBuffer.h"
#include "payload/PatchBlock.h"
#include "payload/PayloadResult.h"
#include "resources/resource.h"
#include "win32/FileSystemPath.h"
#include "win32/PaintDC.h"
#include "win32/StringFormat.h"
#include "win32/TextConversion.h"
#include "win32/WinApp.h"

namespace {
constexpr short kProgressRangeEnd = static_cast<short>(ProgressScale::kFullScale);
constexpr int kTitlePoints = 26;
constexpr int kMessagePoints = 10;
constexpr DWORD kSettlingWaitMs = 5000;
constexpr DWORD kSettlingPollMs = 100;
constexpr DWORD kWorkerEndWaitMs = 1000;
constexpr DWORD kModulePathUnits = 261;

// While the main thread waits (for the worker, or for the setup program) it still
// answers messages other threads send; a command arriving then must not destroy
// the dialog under the wait.
class CWaitScope
{
public:
    explicit CWaitScope(bool& waiting) : m_bWaiting(waiting) { m_bWaiting = true; }
    ~CWaitScope() { m_bWaiting = false; }
    CWaitScope(const CWaitScope&) = delete;
    CWaitScope& operator=(const CWaitScope&) = delete;

private:
    bool& m_bWaiting;
};

std::wstring ErrorBufferText(const char* buffer)
{
    const size_t length = ::strnlen(buffer, CErrorTextBuffer::kSize);
    return AnsiToWide(std::string(buffer, length), CP_THREAD_ACP);
}
} // namespace

// What the worker needs, copied before it starts: the worker never touches the
// dialog object, which deletes itself as soon as its window is gone.
struct COvraSFXDlg::SExtractionJob
{
    HWND hDialog;
    HINSTANCE hAppInstance;
    uint32_t streamOffset;
    ExtractPayloadFn extract;
    const IExtractionOwner* pOwner;
    CStubPayloadHost host;

    // Owned by the dialog's window, shown from the worker. The main thread answers
    // the messages the box sends while it waits for the worker, so neither waits
    // forever.
    void ReportError(const std::wstring& text) const
    {
        if (g_bCancelExtraction != 0)
            return;
        ReportExtractionError(pOwner, hDialog, text, LoadText(IDS_EXTRACTION_FAILED));
    }
};

COvraSFXDlg::COvraSFXDlg()
    : CDialog(IDD_OVRASFX_DIALOG),
      m_hIcon(::LoadIconW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDR_MAINFRAME)))
{
}

COvraSFXDlg::~COvraSFXDlg() = default;

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
    if (m_pOwner != nullptr)
        m_pOwner->OnDialogDestroyed();
    delete this;
}

void COvraSFXDlg::SetExitCode(int32_t code)
{
    if (m_pOwner != nullptr)
        m_pOwner->SetExitCode(code);
}

void COvraSFXDlg::ReportError(const std::wstring& text, const std::wstring& caption) const
{
    ReportExtractionError(m_pOwner, m_hWnd, text, caption);
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
    // Fixed here, on the main thread, before the worker writes anything into it.
    const std::wstring packageFolder = m_pOwner != nullptr ? m_pOwner->BeginExtraction() : std::wstring();
    SExtractionJob job{m_hWnd,
                       m_hAppInstance,
                       CPatchBlock::Current().StreamOffset(),
                       m_pfnExtractPayload,
                       m_pOwner,
                       CStubPayloadHost(m_hWnd, packageFolder, m_pOwner)};
    m_pWorkerThread = CWorkerThread::Begin([job = std::move(job)]() mutable { return ExtractionThreadProc(job); });
    if (m_pWorkerThread)
        return;
    // Without a worker nothing would ever end the dialog.
    const std::wstring text = FormatString(L"%s\n(%lu)", LoadText(IDS_COULD_NOT_OPEN_FILE).c_str(),
                                           static_cast<unsigned long>(::GetLastError()));
    ReportError(text, LoadText(IDS_EXTRACTION_FAILED));
    PostMessage(WM_SFX_FAILED);
}

unsigned COvraSFXDlg::ExtractionThreadProc(SExtractionJob& job)
{
    wchar_t path[kModulePathUnits + 1] = {};
    const DWORD length = ::GetModuleFileNameW(job.hAppInstance, path, kModulePathUnits);
    if (length == 0 || length > kModulePathUnits - 1) {
        job.ReportError(LoadText(IDS_COULD_NOT_OPEN_FILE));
        ::PostMessageW(job.hDialog, WM_SFX_FAILED, 0, 0);
        return 0;
    }

    char errorText[CErrorTextBuffer::kSize] = {};
    int result = 1;
    if (job.extract != nullptr)
        result = job.extract(CPayloadPath(path), job.streamOffset, errorText, &job.host);
    else
        std::strncpy(errorText, "\nError: no payload pipeline\n", sizeof(errorText) - 1);
    errorText[sizeof(errorText) - 1] = '\0';

    if (result == PayloadResult::kCancelled)
        return 0;
    if (result != 0) {
        job.ReportError(ErrorBufferText(errorText));
        ::PostMessageW(job.hDialog, WM_SFX_FAILED, 0, 0);
        return 0;
    }
    if (WaitBeforeLaunch())
        ::PostMessageW(job.hDialog, WM_SFX_EXTRACTED, 0, 0);
    return 0;
}

bool COvraSFXDlg::WaitBeforeLaunch()
{
    // Elapsed time, not a deadline: a deadline past the tick count's wrap (49.7 days
    // of uptime) would skip the wait and the user's last chance to cancel.
    const DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < kSettlingWaitMs) {
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
    // Enter (or another program) must not close the window under a running worker;
    // nothing may end the dialog while one of its waits is on the stack.
    if (id == IDOK || m_bWaiting)
        return true;
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
    const CWaitScope waiting(m_bWaiting);
    if (m_pWorkerThread)
        m_pWorkerThread->WaitAnsweringSentMessages(milliseconds);
}

LRESULT COvraSFXDlg::OnExtracted(WPARAM /*wParam*/, LPARAM /*lParam*/)
{
    WaitForWorker(kWorkerEndWaitMs);
    if (m_pOwner != nullptr) {
        const CWaitScope waiting(m_bWaiting);
        m_pOwner->LaunchSetup(m_hWnd, {m_strSetupArgs, m_bQuiet, m_bExtractOnly, m_bWait, m_bSkipRebootCheck});
    }
    DestroyWindow();
    return 0;
}

LRESULT COvraSFXDlg::OnFailed(WPARAM /*wParam*/, LPARAM /*lParam*/)
{
    WaitForWorker(kWorkerEndWaitMs);
    SetExitCode(kExitExtractionFailed);
    OnCancel();
    return 0;
}

void COvraSFXDlg::OnCancelButton()
{
    g_bCancelExtraction = 1;
    WaitForWorker(INFINITE);
    SetExitCode(kExitCancelled);
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
