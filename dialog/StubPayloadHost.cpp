#include "StubPayloadHost.h"

#include "ExtractionOwner.h"
#include "ProgressProtocol.h"
#include "framework/files/windows/LongPath.h"
#include "framework/localization/LocalizedString.h"
#include "resources/resource.h"
#include "win32/StringFormat.h"
#include "win32/TextConversion.h"

CStubPayloadHost::CStubPayloadHost(HWND dialog, std::wstring packageFolder, const IExtractionOwner* owner)
    : m_hDialog(dialog), m_strPackageFolder(std::move(packageFolder)), m_pOwner(owner)
{
}

void CStubPayloadHost::PostProgress(unsigned value)
{
    // A window already gone refuses the post; progress for it no longer matters.
    if (m_hDialog != nullptr)
        ::PostMessageW(m_hDialog, WM_SFX_PROGRESS, value, 0);
}

void CStubPayloadHost::ReportOutputFileError(const CPayloadPath& path)
{
    const std::wstring format = LoadText(IDS_UNABLE_TO_OPEN_OUTPUT);
    const std::wstring caption = LoadText(IDS_EXTRACTION_FAILED);
    const std::wstring text = FormatString(format.c_str(), path.c_str());
    ReportExtractionError(m_pOwner, nullptr, text, caption);
}

CPayloadPath CStubPayloadHost::PackageFolder()
{
    return CPayloadPath(m_strPackageFolder);
}

CPayloadPath CStubPayloadHost::NameToPath(const std::string& name)
{
    return CPayloadPath(AnsiToWide(name, CP_THREAD_ACP));
}

std::string CStubPayloadHost::PathToText(const CPayloadPath& path)
{
    return WideToAnsi(path.Native(), CP_THREAD_ACP);
}

void CStubPayloadHost::CreateFolders(const CPayloadPath& folder)
{
    // A folder that cannot be made shows when its first file cannot be opened.
    (void)folder.CreateFolders();
}

bool CStubPayloadHost::RemoveFile(const CPayloadPath& path)
{
    if (::DeleteFileW(LongPath::ForSystem(path.Native()).c_str()))
        return true;
    const DWORD error = ::GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}
