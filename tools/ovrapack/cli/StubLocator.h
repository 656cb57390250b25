#pragma once

#include <filesystem>
#include <optional>
#include <vector>

// Where `pack` finds a stub when none is named: the one installed with the tool
// (<prefix>/share/ovrasfx/OvraSFX.exe beside <prefix>/bin), one lying beside the tool,
// and, for a tool that runs from the build folder it was built in, the shipping
// stub of that source tree.
class CStubLocator
{
public:
    static constexpr const char* kStubName = "OvraSFX.exe";

    // toolPath: the running tool's executable. buildFolder and buildTreeStub may be
    // empty: then no build tree is considered.
    CStubLocator(std::filesystem::path toolPath, std::filesystem::path buildFolder,
                 std::filesystem::path buildTreeStub);

    // The running program, with the build folder and stub it was configured with.
    static CStubLocator ForThisProgram();

    // Every place looked at, in order.
    std::vector<std::filesystem::path> Candidates() const;
    // The first candidate that is a regular file.
    std::optional<std::filesystem::path> Find() const;

private:
    bool RunsFromBuildFolder() const;

    std::filesystem::path m_toolPath;
    std::filesystem::path m_buildFolder;
    std::filesystem::path m_buildTreeStub;
};
