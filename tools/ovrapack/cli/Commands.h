#pragma once

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "tools/ovrapack/pack/ContainerPlanner.h"
#include "tools/ovrapack/pack/LzmaStreamEncoder.h"

class CStubLocator;

// What each command was asked to do, as the command line read it. Paths are kept as
// the user wrote them (UTF-8), for the messages.
struct SInfoOptions
{
    std::string strPackage;
};

struct SPatchOptions
{
    std::string strPackage;
    std::optional<std::string> buildId;
    std::optional<uint64_t> streamOffset;
    std::optional<std::string> setupName;
    std::optional<uint64_t> requiredBytes;
    std::optional<uint64_t> pictureOffset;
};

struct SExtractOptions
{
    std::string strPackage;
    std::string strFolder;
    bool bInteractive = false;  // standard error is a terminal: progress rewrites its line
};

struct STestOptions
{
    std::string strPackage;
    bool bInteractive = false;
};

struct SListOptions
{
    std::string strPackage;
    bool bChunks = false;
    bool bJson = false;
};

struct SPackOptions
{
    std::string strSource;
    std::string strStub;  // empty: the stub the locator finds
    std::string strOut;
    std::string strPicture;
    std::string strBuildId;
    std::optional<std::string> setupName;
    CLzmaStreamEncoder::SSettings settings;
    CContainerPlanner::SOptions planning;
    std::string strIcon;                    // empty: the stub's own icon
    std::vector<std::string> versionInfo;  // KEY=VALUE pairs, checked when packing
    std::string strDepfile;                 // empty: none written
    bool bQuiet = false;
    bool bInteractive = false;
};

// Each command returns the process exit code; messages go to the given streams.
int RunInfoCommand(const SInfoOptions& options, std::ostream& out, std::ostream& err);
int RunPatchCommand(const SPatchOptions& options, std::ostream& out, std::ostream& err);
int RunExtractCommand(const SExtractOptions& options, std::ostream& out, std::ostream& err);
int RunTestCommand(const STestOptions& options, std::ostream& out, std::ostream& err);
int RunListCommand(const SListOptions& options, std::ostream& out, std::ostream& err);
int RunPackCommand(const SPackOptions& options, const CStubLocator& stubs, std::ostream& out, std::ostream& err);

namespace ExitCodes {
constexpr int kOk = 0;
constexpr int kFailure = 1;
constexpr int kUsage = 2;
} // namespace ExitCodes
