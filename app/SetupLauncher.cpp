#include "SetupLauncher.h"

#include <shellapi.h>

#include "ErrorReporter.h"
#include "InstallLogPath.h"
#include "RebootCheck.h"
#include "SetupExitCode.h"
#include "SetupParameters.h"
#include "payload/PatchBlock.h"
#include "win32/FileSystemPath.h"
#include "win32/Handle.h"
#include "win32/StringFormat.h"
#include "win32/SystemErrorText.h"
#include "win32/TextConversion.h"

std::optional<int32_t> CSetupLauncher::Run(HWND dialog, const IExtractionOwner::SSetupRequest& request,
                                           const std::wstring& packageFolder) const
{
    // Resolved before the directory changes: a relative root would otherwise lead
    // the setup path nowhere once the package folder is the current directory.
    std::wstring folder = packageFolder;
    const std::wstring fullFolder = FileSystemPath::FullPath(folder);
    if (!fullFolder.empty())
        folder = fullFolder;
    ::SetCurrentDirectoryW(folder.c_str());
    const std::wstring setupName = AnsiToWide(CPatchBlock::Current().SetupName(), CP_THREAD_ACP);
    if (request.bExtractOnly || setupName.empty())
        return std::nullopt;
    const std::wstring setupPath = folder + setupName;
    DWORD setupExitCode = 0;
    if (!LaunchSetup(dialog, setupPath.c_str(), request.strSetupArgs.c_str(), &setupExitCode, request.bQuiet,
                     request.bWait))
        return kExitSetupNotStarted;
    const CSetupExitCode::SOptions options{request.bQuiet, request.bWait, request.bSkipRebootCheck};
    return CSetupExitCode::Settle(options, static_cast<int32_t>(setupExitCode), &IsRebootPending);
}

bool CSetupLauncher::LaunchSetup(HWND dialog, const wchar_t* program, const wchar_t* setupArgs, DWORD* exitCode,
                                 bool quiet, bool wait) const
{
    const std::wstring parameters =
        CSetupParameters::Build(setupArgs != nullptr ? setupArgs : L"", quiet, BuildInstallLogPath());
    ::OutputDebugStringW(FormatString(L"\r\nExe:%s Parameter:%s\r\n", program, parameters.c_str()).c_str());

    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_NOCLOSEPROCESS;
    info.hwnd = dialog;
    info.lpFile = program;
    info.lpParameters = parameters.c_str();
    info.nShow = SW_SHOW;
    // The shell's own box about a program it cannot start would wait for a click.
    if (quiet)
        info.fMask |= SEE_MASK_FLAG_NO_UI;
    const bool started = ::ShellExecuteExW(&info) != FALSE;
    const DWORD error = ::GetLastError();
    if (dialog != nullptr)
        ::ShowWindow(dialog, SW_HIDE);
    if (!started) {
        if (quiet)
            m_reporter.Report(dialog, FormatString(L"%s\n%s", program, SystemErrorText(error).c_str()),
                              L"The setup program could not be started");
        return false;
    }
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
