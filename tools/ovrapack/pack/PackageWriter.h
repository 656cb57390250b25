#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "ContainerPlan.h"
#include "LzmaStreamEncoder.h"
#include "tools/ovrapack/read/PatchFields.h"
#include "SourceReader.h"
#include "tools/ovrapack/pe/StubBranding.h"

class CTerminalProgress;

// Joins stub, picture and compressed container into an installer: the stub is cut
// at the raw end of its last section and given the product's icon and version
// information, picture and stream follow, the file is padded
// to 8 bytes for a signature, and the patch block is filled in. The output appears
// under its name only when it is complete.
class CPackageWriter
{
public:
    struct SInputs
    {
        std::vector<uint8_t> stub;
        std::vector<uint8_t> picture;          // empty: no picture
        std::string strBuildId;                // empty: derived from the package's content
        std::optional<std::string> setupName;  // none: keep the stub's own
        CLzmaStreamEncoder::SSettings settings;
        CStubBranding branding;                // empty: keep the stub's icon and version resource
    };

    struct SResult
    {
        SPatchFields fields;  // as patched into the stub
        uint64_t nStubSize = 0;
        uint64_t nStreamSize = 0;
        uint64_t nFileSize = 0;
        uint32_t nDictionary = 0;
    };

    // Cuts and patches the stub in memory; checks everything that can be checked
    // before compressing. Call before Write.
    [[nodiscard]] bool Prepare(SInputs inputs, const CContainerPlan& plan, std::string& error);
    [[nodiscard]] bool Write(const std::filesystem::path& out, const CContainerPlan& plan, CSourceReader& reader,
                             CTerminalProgress* progress, std::string& error);

    const SResult& Result() const { return m_result; }

    // Default build identifier: 16 hex digits from everything that goes into the package.
    static std::string DeriveBuildId(const SInputs& inputs, const CContainerPlan& plan);

private:
    [[nodiscard]] bool WriteTo(std::ostream& out, const CContainerPlan& plan, CSourceReader& reader,
                               CTerminalProgress* progress, std::string& error);

    SInputs m_inputs;
    SResult m_result;
    // Where the stub's checksum lies, when it has one: it is taken over the whole file.
    std::optional<uint64_t> m_checksumField;
};
