#pragma once

#include <windows.h>

#include <functional>

#include "payload/PayloadHost.h"

// The stub's side of the payload pipeline: progress goes to the dialog as posted
// messages, output file errors become message boxes, names are widened with the
// thread's ANSI code page.
class CStubPayloadHost : public IPayloadHost
{
public:
    using FolderSource = std::function<std::wstring()>;

    CStubPayloadHost(HWND dialog, FolderSource packageFolder);

    void PostProgress(unsigned value) override;
    void ReportOutputFileError(const std::filesystem::path& path) override;
    std::filesystem::path PackageFolder() override;
    std::filesystem::path NameToPath(const std::string& name) override;

private:
    HWND m_hDialog;
    FolderSource m_packageFolder;
};
