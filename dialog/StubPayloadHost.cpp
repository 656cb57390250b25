#include "StubPayloadHost.h"

#include "ProgressProtocol.h"
#include "framework/localization/LocalizedString.h"
#include "resources/resource.h"
#include "win32/StringFormat.h"
#include "win32/TextConversion.h"

CStubPayloadHost::CStubPayloadHost(HWND dialog, FolderSource packageFolder)
    : m_hDialog(dialog), m_packageFolder(std::move(packageFolder))
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
    std::wstring format;
    std::wstring caption;
    LoadLocalizedString(format, IDS_UNABLE_TO_OPEN_OUTPUT);
    LoadLocalizedString(caption, IDS_EXTRACTION_FAILED);
    const std::wstring text = FormatString(format.c_str(), path.wstring().c_str());
    ::MessageBoxW(nullptr, text.c_str(), caption.c_str(), MB_ICONERROR);
}

std::filesystem::path CStubPayloadHost::PackageFolder()
{
    return m_packageFolder ? std::filesystem::path(m_packageFolder()) : std::filesystem::path();
}

std::filesystem::path CStubPayloadHost::NameToPath(const std::string& name)
{
    return std::filesystem::path(AnsiToWide(name, CP_ACP));
}
