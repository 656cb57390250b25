#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "PayloadHost.h"

// A host for the packaging tool and the tests: extracts into a given folder, reads
// container names as code page 1252 and turns backslashes into path separators.
// Progress is dropped; failures to open files are remembered.
class CNativePayloadHost : public IPayloadHost
{
public:
    explicit CNativePayloadHost(std::filesystem::path packageFolder) : m_packageFolder(std::move(packageFolder)) {}

    void PostProgress(unsigned) override {}
    void ReportOutputFileError(const CPayloadPath& path) override
    {
        m_vecOpenFailures.push_back(path.ToFilesystemPath());
    }
    CPayloadPath PackageFolder() override { return m_packageFolder; }
    CPayloadPath NameToPath(const std::string& name) override;
    std::string PathToText(const CPayloadPath& path) override;
    void CreateFolders(const CPayloadPath& folder) override;
    [[nodiscard]] bool RemoveFile(const CPayloadPath& path) override;

    const std::vector<std::filesystem::path>& OpenFailures() const { return m_vecOpenFailures; }

private:
    std::filesystem::path m_packageFolder;
    std::vector<std::filesystem::path> m_vecOpenFailures;
};
