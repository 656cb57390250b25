#include "StubPayloadHost.h"

#include "ExtractionOwner.h"
#include "ProgressProtocol.h"
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

void CStubPayloadHost::ReportOutputFileError(const std::filesystem::path& path)
{
    const std::wstring format = LoadText(IDS_UNABLE_TO_OPEN_OUTPUT);
    const std::wstring caption = LoadText(IDS_EXTRACTION_FAILED);
    const std::wstring text = FormatString(format.c_str(), path.wstring().c_str());
    ReportExtractionError(m_pOwner, nullptr, text, caption);
}

std::filesystem::path CStubPayloadHost::PackageFolder()
{
    return std::filesystem::path(m_strPackageFolder);
}

std::filesystem::path CStubPayloadHost::NameToPath(const std::string& name)
{
    return std::filesystem::path(AnsiToWide(name, CP_THREAD_ACP));
}

std::string CStubPayloadHost::PathToText(const std::filesystem::path& path)
{
    return WideToAnsi(path.wstring(), CP_THREAD_ACP);
}
