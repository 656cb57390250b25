#include <filesystem>
#include <iostream>
#include <optional>
#include <sstream>
#include <ostream>
#include <system_error>

#include "tools/ovrapack/io/PathText.h"
#include "payload/CodePage1252.h"
#include "Commands.h"
#include "tools/ovrapack/pack/ContainerPlanner.h"
#include "tools/ovrapack/io/DependencyFile.h"
#include "tools/ovrapack/io/FileBytes.h"
#include "tools/ovrapack/pack/PackageWriter.h"
#include "tools/ovrapack/picture/PictureConverter.h"
#include "tools/ovrapack/pack/SourceTree.h"
#include "tools/ovrapack/pe/StubBranding.h"
#include "StubLocator.h"
#include "TerminalProgress.h"

namespace fs = std::filesystem;

namespace {

using PathText::Display;

bool IsInside(const fs::path& path, const fs::path& folder)
{
    std::error_code ec;
    const fs::path file = fs::weakly_canonical(fs::absolute(path, ec), ec);
    const fs::path root = fs::weakly_canonical(fs::absolute(folder, ec), ec);
    const fs::path relative = file.lexically_relative(root);
    return !relative.empty() && *relative.begin() != "..";
}

bool HasSetupProgram(const CSourceTree& tree, const std::string& name)
{
    for (const auto& entry : tree.Entries()) {
        const std::string& candidate = entry.strName;
        if (candidate == name || candidate.starts_with(name + "."))
            return true;
    }
    return false;
}

int Fail(std::ostream& err, const std::string& message)
{
    err << "ovrapack: " << message << "\n";
    return ExitCodes::kFailure;
}

// The stub named on the command line, or the one installed with the tool.
bool ChooseStub(const SPackOptions& options, const CStubLocator& stubs, fs::path& stub, std::ostream& out,
                std::string& error)
{
    if (!options.strStub.empty()) {
        stub = PathText::FromArgument(options.strStub);
        return true;
    }
    if (const auto found = stubs.Find()) {
        stub = *found;
        out << "stub " << Display(stub) << "\n";
        return true;
    }
    std::ostringstream text;
    text << "no stub given (--stub) and none found; looked for";
    const auto places = stubs.Candidates();
    for (size_t i = 0; i < places.size(); ++i)
        text << (i == 0 ? " " : ", ") << "\"" << Display(places[i]) << "\"";
    if (places.empty())
        text << " nothing: the tool's own location is unknown";
    error = text.str();
    return false;
}

bool ReadPicture(const fs::path& path, std::vector<uint8_t>& bitmap, std::string& error)
{
    std::vector<uint8_t> bytes;
    if (!FileBytes::Read(path, bytes, error))
        return false;
    if (!CPictureConverter::ToBitmapFile(bytes, bitmap, error)) {
        error = "\"" + Display(path) + "\": " + error;
        return false;
    }
    return true;
}

// Written after the installer: a build that stops between the two sees no depfile
// and packs again.
bool WriteDependencies(const SPackOptions& options, const fs::path& stub, const CSourceTree& tree, std::string& error)
{
    CDependencyFile dependencies(PathText::FromArgument(options.strOut));
    dependencies.Add(stub);
    if (!options.strPicture.empty())
        dependencies.Add(PathText::FromArgument(options.strPicture));
    if (!options.strIcon.empty())
        dependencies.Add(PathText::FromArgument(options.strIcon));
    for (const fs::path& folder : tree.Folders())
        dependencies.Add(folder);
    for (const auto& entry : tree.Entries())
        dependencies.Add(entry.path);
    return dependencies.Write(PathText::FromArgument(options.strDepfile), error);
}

} // namespace

int RunPackCommand(const SPackOptions& options, const CStubLocator& stubs, std::ostream& out, std::ostream& err)
{
    const fs::path source = PathText::FromArgument(options.strSource);
    const fs::path output = PathText::FromArgument(options.strOut);
    if (IsInside(output, source))
        return Fail(err, "the output \"" + options.strOut + "\" lies inside the source folder");

    std::string error;
    fs::path stub;
    if (!ChooseStub(options, stubs, stub, out, error))
        return Fail(err, error);
    CPackageWriter::SInputs inputs;
    if (!FileBytes::Read(stub, inputs.stub, error))
        return Fail(err, "stub: " + error);
    if (!options.strPicture.empty() && !ReadPicture(PathText::FromArgument(options.strPicture), inputs.picture, error))
        return Fail(err, "picture: " + error);
    CStubBranding::SOptions brandingOptions;
    if (!options.strIcon.empty())
        brandingOptions.icon = PathText::FromArgument(options.strIcon);
    brandingOptions.versionInfo = options.versionInfo;
    auto branding = CStubBranding::Load(brandingOptions, error);
    if (!branding)
        return Fail(err, error);
    inputs.branding = std::move(*branding);
    std::optional<std::string> setupName = options.setupName;
    if (setupName) {
        std::string setup;
        if (!CodePage1252::FromUtf8(*setupName, setup))
            return Fail(err, "--setup: the name cannot be written in code page 1252");
        setupName = setup;
    }
    inputs.strBuildId = options.strBuildId;
    inputs.setupName = setupName;
    inputs.settings = options.settings;

    CSourceTree tree;
    if (!tree.Scan(source, error))
        return Fail(err, error);
    for (const std::string& warning : tree.Warnings())
        err << "ovrapack: warning: " << warning << "\n";
    if (setupName && !setupName->empty() && !HasSetupProgram(tree, *setupName))
        err << "ovrapack: warning: no file named \"" << CodePage1252::ToUtf8(*setupName)
            << "\" in the package's top folder for the stub to start\n";

    std::vector<fs::path> paths;
    for (const auto& entry : tree.Entries())
        paths.push_back(entry.path);
    CSourceReader reader(std::move(paths));
    CTerminalProgress progress(err, !options.bQuiet, options.bInteractive);
    CContainerPlan plan;
    CContainerPlanner planner(tree, reader, options.planning, &progress);
    if (!planner.Plan(plan, error))
        return Fail(err, error);

    CPackageWriter writer;
    if (!writer.Prepare(std::move(inputs), plan, error) || !writer.Write(output, plan, reader, &progress, error))
        return Fail(err, error);
    if (!options.strDepfile.empty() && !WriteDependencies(options, stub, tree, error))
        return Fail(err, error);

    const CPackageWriter::SResult& result = writer.Result();
    out << "packed " << tree.Entries().size() << " files (" << plan.nTotalFileBytes << " bytes";
    if (plan.nCabinets > 0)
        out << ", " << plan.nCabinets << " cabinets";
    out << ") into " << Display(output) << "\n"
        << "  chunks " << plan.tables.chunks.size() << ", data " << plan.tables.nDataLength << " bytes, "
        << plan.nSharedBytes << " bytes shared\n"
        << "  stream " << result.nStreamSize << " bytes at " << result.fields.nStreamOffset << " (lc "
        << options.settings.nLc << " lp " << options.settings.nLp << " pb " << options.settings.nPb
        << " dictionary " << result.nDictionary << ")\n"
        << "  build id " << result.fields.strBuildId << ", requires " << result.fields.nRequiredBytes << " bytes\n"
        << "installer " << Display(output) << ", " << result.nFileSize << " bytes\n";
    return ExitCodes::kOk;
}
