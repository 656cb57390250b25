#pragma once

#include <windows.h>

#include "payload/PayloadHost.h"

class IExtractionOwner;

// The stub's side of the payload pipeline: progress goes to the dialog as posted
// messages, output file errors to the dialog's owner (a box, or the log of a quiet
// run), names are widened with the thread's ANSI code page.
class CStubPayloadHost : public IPayloadHost
{
public:
    // `owner` (none: errors in plain boxes) must outlive the host.
    CStubPayloadHost(HWND dialog, std::wstring packageFolder, const IExtractionOwner* owner);

    void PostProgress(unsigned value) override;
    void ReportOutputFileError(const CPayloadPath& path) override;
    CPayloadPath PackageFolder() override;
    CPayloadPath NameToPath(const std::string& name) override;
    std::string PathToText(const CPayloadPath& path) override;
    void CreateFolders(const CPayloadPath& folder) override;
    [[nodiscard]] bool RemoveFile(const CPayloadPath& path) override;

private:
    HWND m_hDialog;
    std::wstring m_strPackageFolder;
    const IExtractionOwner* m_pOwner;
};
