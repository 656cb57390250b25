#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "IconFile.h"
#include "ResourceTree.h"
#include "VersionInfo.h"

// The product's own icon and version information, put into a copy of the stub in
// place of the stub's icon and version resource.
class CStubBranding
{
public:
    // What the command line names: an icon file and KEY=VALUE pairs.
    struct SOptions
    {
        std::filesystem::path icon;
        std::vector<std::string> versionInfo;
    };

    // Reads and checks everything the options name; an error names the option.
    [[nodiscard]] static std::optional<CStubBranding> Load(const SOptions& options, std::string& error);

    void SetIcon(CIconFile icon) { m_icon = std::move(icon); }
    CVersionInfo& VersionInfo() { return m_versionInfo; }
    bool Empty() const { return !m_icon && m_versionInfo.Empty(); }

    // Rewrites the resources of `stub`, an executable with nothing behind its sections.
    [[nodiscard]] bool Apply(std::vector<uint8_t>& stub, std::string& error) const;

private:
    [[nodiscard]] bool ReplaceIcon(CResourceTree& tree, std::string& error) const;
    [[nodiscard]] bool ReplaceVersionInfo(CResourceTree& tree, std::string& error) const;

    std::optional<CIconFile> m_icon;
    CVersionInfo m_versionInfo;
};
