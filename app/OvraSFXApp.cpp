#include "OvraSFXApp.h"

#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>

#include <new>

#include "DriveSpaceAdmin.h"
#include "ExtractionRootRules.h"
#include "PackageFolder.h"
#include "SetupLauncher.h"
#include "dialog/OvraSFXDlg.h"
#include "framework/files/windows/LongPath.h"
#include "framework/localization/DictionaryLocalization.h"
#include "framework/localization/Localization.h"
#include "framework/localization/LocalizedString.h"
#include "framework/localization/UserInterfaceLocalization.h"
#include "payload/PatchBlock.h"
#include "payload/PayloadParser.h"
#include "resources/resource.h"
#include "win32/FileSystemPath.h"
#include "win32/Handle.h"
#include "win32/StringFormat.h"
#include "win32/TextConversion.h"

namespace {
constexpr wchar_t kRootFolderName[] = L"OvraInstallFiles";
constexpr DWORD kTempPathUnits = 260;

// By its full path: a bare "cmd.exe" may be found in the installer's own folder
// (often Downloads, where anyone can drop one) before the system's.
std::wstring SystemCommandInterpreter()
{
    wchar_t folder[MAX_PATH + 1] = {};
    const UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return std::wstring();
    return CExtractionRootRules::WithTrailingBackslash(folder) + L"cmd.exe";
}
} // namespace

COvraSFXApp::COvraSFXApp(ExtractPayloadFn extractPayload)
    // The installer's only provider is the dictionary: naming it links no other (nor the
    // file library behind the satellite and language-folder providers).
    : COfcWinApp(kDictionaryLocalization, std::unique_ptr<COfcUserInterfaceLocalization>(
                                              new (std::nothrow) CDictionaryLocalization)),
      m_pfnExtractPayload(extractPayload)
{
    if (COfcUserInterfaceLocalization* localization = GetLocalization())
        localization->SetDictionaryResourceId(IDR_DICTIONARY);
}

COvraSFXApp::~COvraSFXApp() = default;

COvraSFXApp* GetOvraSFXApp()
{
    return static_cast<COvraSFXApp*>(AfxGetApp());
}

BOOL COvraSFXApp::InitInstance()
{
    INITCOMMONCONTROLSEX controls{sizeof(controls), 0xFF};
    ::InitCommonControlsEx(&controls);
    CWinApp::InitInstance();
    // Failure leaves COM unusable for the picture only; the run goes on without it.
    ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    // The dictionary has no text for a system language without a row; English stays.
    static_cast<void>(ApplySystemDefaultLanguage());

    m_cmdLine.Parse(m_lpCmdLine);
    m_errorReporter.Configure(m_cmdLine.m_bQuiet, FileSystemPath::ModulePath(m_hInstance));

    if (!DetermineExtractionRoot()) {
        m_nExitCode = kExitNoRoot;
        return TRUE;
    }
    CaptureCleanupPlan();
    if (!CheckWorkingFolder()) {
        m_nExitCode = kExitNoRoot;
        return TRUE;
    }
    // With "/q" the message goes to the error log instead of a box.
    if (!CheckDiskSpace(true))
        return TRUE;
    CreateExtractionDialog();
    return TRUE;
}

void COvraSFXApp::CreateExtractionDialog()
{
    auto* dialog = new COvraSFXDlg;
    dialog->m_hAppInstance = m_hInstance;
    dialog->m_strSetupArgs = m_cmdLine.m_strSetupArgs;
    dialog->m_bQuiet = m_cmdLine.m_bQuiet;
    dialog->m_bExtractOnly = m_cmdLine.m_bExtractOnly;
    dialog->m_bWait = m_cmdLine.m_bWait;
    dialog->m_bSkipRebootCheck = m_cmdLine.m_bSkipRebootCheck;
    dialog->m_pfnExtractPayload = m_pfnExtractPayload;
    dialog->m_pOwner = this;
    m_pExtractDlg = dialog;
    m_pMainWnd = dialog;
    if (!dialog->Create(nullptr)) {
        // Nothing was extracted: a caller must not take this run for an installed product.
        m_nExitCode = COvraSFXDlg::kExitExtractionFailed;
        // A window that never existed never deletes its object; one that did has.
        if (m_pExtractDlg == dialog) {
            m_pMainWnd = nullptr;
            m_pExtractDlg = nullptr;
            delete dialog;
        }
        return;
    }
    // The window may already be gone if its start failed at once.
    if (m_pExtractDlg == nullptr)
        return;
    dialog->ShowWindow(m_cmdLine.m_bQuiet ? SW_HIDE : SW_SHOW);
    dialog->UpdateWindow();
}

std::wstring COvraSFXApp::BeginExtraction()
{
    // From here on "/CLEANUP" may remove the package folder even inside a root that existed.
    m_cleanupPlan.MarkExtractionStarted();
    return GetPackageFolder();
}

void COvraSFXApp::ReportError(HWND owner, const std::wstring& text, const std::wstring& caption) const
{
    m_errorReporter.Report(owner, text, caption);
}

void COvraSFXApp::LaunchSetup(HWND dialog, const SSetupRequest& request)
{
    const CSetupLauncher launcher(m_errorReporter);
    if (const std::optional<int32_t> code = launcher.Run(dialog, request, GetPackageFolder()))
        m_nExitCode = *code;
}

void COvraSFXApp::OnDialogDestroyed()
{
    m_pExtractDlg = nullptr;
}

int COvraSFXApp::ExitInstance()
{
    // The parser holds the temporary data file, which would keep the folder alive.
    DestroyPayloadParser();
    if (m_cmdLine.m_bCleanup)
        RemoveExtractionRoot();
    CWinApp::ExitInstance();
    ::CoUninitialize();
    return m_nExitCode;
}

bool COvraSFXApp::DetermineExtractionRoot()
{
    m_strExtractRoot = m_cmdLine.m_strUFPath;
    if (m_strExtractRoot.empty()) {
        wchar_t tempPath[kTempPathUnits] = {};
        const DWORD length = ::GetTempPathW(kTempPathUnits, tempPath);
        if (length < 1 || length > kTempPathUnits)
            return false;
        m_strExtractRoot = FormatString(L"%s%s\\", tempPath, kRootFolderName);
    }
    m_strExtractRoot = CExtractionRootRules::WithTrailingBackslash(m_strExtractRoot);
    if (!CExtractionRootRules::IsAcceptable(m_strExtractRoot, m_cmdLine.m_bCleanup)) {
        m_strExtractRoot.clear();
        return false;
    }
    return true;
}

std::wstring COvraSFXApp::FullPackageFolder() const
{
    const std::wstring fullRoot =
        CExtractionRootRules::WithTrailingBackslash(FileSystemPath::FullPath(m_strExtractRoot));
    return fullRoot + L"OVRA" + AnsiToWide(CPatchBlock::Current().BuildId(), CP_THREAD_ACP) + L"\\";
}

// A relative root is resolved now: the current directory changes before clean-up runs.
void COvraSFXApp::CaptureCleanupPlan()
{
    const std::wstring fullRoot =
        CExtractionRootRules::WithTrailingBackslash(FileSystemPath::FullPath(m_strExtractRoot));
    const std::wstring existence = LongPath::ForSystem(fullRoot);
    const bool existed = FileSystemPath::Exists(existence);
    m_cleanupPlan.Capture(fullRoot, FullPackageFolder(), existed,
                          existed && FileSystemPath::HasEntries(existence));
}

// Files may lie at any depth, but the setup program starts in the package folder,
// and a current directory is a classic path. Refused before anything is extracted.
bool COvraSFXApp::CheckWorkingFolder() const
{
    const std::wstring packageFolder = FullPackageFolder();
    const std::wstring setupName = AnsiToWide(CPatchBlock::Current().SetupName(), CP_THREAD_ACP);
    if (CExtractionRootRules::FitsWorkingFolder(packageFolder, setupName))
        return true;
    const std::wstring text = FormatString(
        L"The extraction folder is too long:\n%s\n\nThe setup program must start in the package folder "
        L"%s, and a working folder has at most 259 characters. Choose a shorter folder with /UFPATH=.",
        m_strExtractRoot.c_str(), packageFolder.c_str());
    m_errorReporter.Report(nullptr, text, L"The extraction folder is too long");
    return false;
}

bool COvraSFXApp::CheckDiskSpace(bool showMessage)
{
    CDriveSpaceAdmin admin;
    std::wstring drive = CExtractionRootRules::DriveComponent(m_strExtractRoot);
    const uint64_t required = CPatchBlock::Current().RequiredBytes();
    uint64_t freeBytes = 0;
    uint64_t totalBytes = 0;
    if (!drive.empty())
        CDriveSpaceAdmin::GetDriveSpace(&drive, &freeBytes, &totalBytes);
    else
        freeBytes = CDriveSpaceAdmin::GetFreeSpaceOfPath(m_strExtractRoot, &drive);
    if (required < freeBytes)
        return true;
    m_nExitCode = kExitNoDiskSpace;
    if (showMessage)
        ShowDiskSpaceMessage(drive, required);
    return false;
}

void COvraSFXApp::ShowDiskSpaceMessage(const std::wstring& drive, uint64_t requiredBytes)
{
    const std::wstring format = LoadText(IDS_NO_DISK_SPACE);
    const double megabytes = static_cast<double>(requiredBytes) * (1.0 / 1024) * (1.0 / 1024);
    const std::wstring text = FormatString(format.c_str(), drive.c_str(), megabytes);
    if (m_errorReporter.IsQuiet()) {
        m_errorReporter.Report(nullptr, text, LoadText(IDS_EXTRACTION_FAILED));
        return;
    }
    AfxMessageBox(text, MB_ICONERROR);
}

void COvraSFXApp::RemoveExtractionRoot()
{
    const std::wstring target = m_cleanupPlan.Target();
    if (target.empty() || !CExtractionRootRules::IsAcceptable(target, true))
        return;
    const std::wstring interpreter = SystemCommandInterpreter();
    if (interpreter.empty())
        return;
    std::wstring parameters = L"/c rmdir /q /s \"" + target + L"\"";
    // A folder that is a current directory (ours after the setup launch, and the
    // interpreter's, which inherits it) cannot be removed: step out of it first.
    const std::wstring outside = CExtractionRootRules::ParentOf(target);
    if (!outside.empty())
        ::SetCurrentDirectoryW(outside.c_str());
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_NOCLOSEPROCESS;
    info.lpFile = interpreter.c_str();
    info.lpParameters = parameters.c_str();
    info.nShow = SW_HIDE;
    if (::ShellExecuteExW(&info) && info.hProcess != nullptr) {
        const CKernelHandle process(info.hProcess);
        ::WaitForSingleObject(process.Get(), INFINITE);
    }
    // The interpreter's removal stops at the classic limit and leaves what lies deeper
    // (and the folders above it): that goes here. Like the interpreter's, a failure
    // here changes no outcome; what stays is what cannot be removed at all.
    if (FileSystemPath::Exists(LongPath::ForSystem(target)))
        (void)LongPath::RemoveTree(target);
}
