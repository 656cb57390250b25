#pragma once

#include <windows.h>

#include <functional>

#include "payload/PayloadHost.h"

class CErrorReporter;

// The stub's side of the payload pipeline: progress goes to the dialog as posted
// messages, output file errors go to the error reporter (a box, or the log of a
// quiet run), names are widened with the thread's ANSI code page.
class CStubPayloadHost : public IPayloadHost
{
public:
    using FolderSource = std::function<std::wstring()>;

    // `reporter` must outlive the host.
    CStubPayloadHost(HWND dialog, FolderSource packageFolder, const CErrorReporter& reporter);

    void PostProgress(unsigned value) override;
    void ReportOutputFileError(const std::filesystem::path& path) override;
    std::filesystem::path PackageFolder() override;
    std::filesystem::path NameToPath(const std::string& name) override;
    std::string PathToText(const std::filesystem::path& path) override;

private:
    HWND m_hDialog;
    FolderSource m_packageFolder;
    const CErrorReporter& m_reporter;
};
