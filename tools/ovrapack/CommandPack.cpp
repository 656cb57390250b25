#include <charconv>
#include <filesystem>
#include <iostream>
#include <optional>
#include <ostream>
#include <system_error>

#include "payload/CodePage1252.h"
#include "Commands.h"
#include "ContainerPlanner.h"
#include "FileBytes.h"
#include "PackageWriter.h"
#include "SourceTree.h"
#include "TerminalProgress.h"

namespace fs = std::filesystem;

namespace {

const char kUsage[] =
    "usage: ovrapack pack SRC_DIR --stub OvraSFX.exe --out Setup.exe [--setup NAME] [--picture FILE.bmp]\n"
    "                     [--build-id ID] [--lc N] [--lp N] [--pb N] [--dict SIZE] [--fb N]\n"
    "                     [--threads 1|2]\n"
    "                     [--chunk SIZE] [--no-cabinets] [--path-order] [--quiet]\n";

struct SPackArguments
{
    fs::path source;
    fs::path stub;
    fs::path out;
    fs::path picture;
    std::string strBuildId;
    std::optional<std::string> setupName;
    CLzmaStreamEncoder::SSettings settings;
    CContainerPlanner::SOptions planning;
    bool bQuiet = false;
};

fs::path PathFromUtf8(const std::string& text)
{
    return fs::path(std::u8string(text.begin(), text.end()));
}

// A size in bytes with an optional k, m or g suffix (powers of 1024).
bool ParseSize(const std::string& text, uint64_t maximum, uint64_t& value)
{
    const char* begin = text.data();
    const char* end = begin + text.size();
    const auto result = std::from_chars(begin, end, value);
    if (result.ec != std::errc() || result.ptr == begin)
        return false;
    std::string suffix(result.ptr, end);
    for (char& c : suffix)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    unsigned shift = 0;
    if (suffix == "k" || suffix == "kib")
        shift = 10;
    else if (suffix == "m" || suffix == "mib")
        shift = 20;
    else if (suffix == "g" || suffix == "gib")
        shift = 30;
    else if (!suffix.empty())
        return false;
    if (value > (maximum >> shift))
        return false;
    value <<= shift;
    return true;
}

bool ParseInteger(const std::string& text, int minimum, int maximum, int& value)
{
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    return result.ec == std::errc() && result.ptr == text.data() + text.size() && value >= minimum &&
           value <= maximum;
}

bool ParseOption(SPackArguments& parsed, const std::string& option, const std::string& value, std::string& error)
{
    uint64_t size = 0;
    bool ok = true;
    if (option == "--stub")
        parsed.stub = PathFromUtf8(value);
    else if (option == "--out")
        parsed.out = PathFromUtf8(value);
    else if (option == "--picture")
        parsed.picture = PathFromUtf8(value);
    else if (option == "--build-id")
        parsed.strBuildId = value;
    else if (option == "--setup")
        parsed.setupName = value;
    else if (option == "--lc")
        ok = ParseInteger(value, 0, 8, parsed.settings.nLc);
    else if (option == "--lp")
        ok = ParseInteger(value, 0, 4, parsed.settings.nLp);
    else if (option == "--pb")
        ok = ParseInteger(value, 0, 4, parsed.settings.nPb);
    else if (option == "--fb")
        ok = ParseInteger(value, 5, 273, parsed.settings.nFastBytes);
    else if (option == "--threads")
        ok = ParseInteger(value, 1, 2, parsed.settings.nThreads);
    else if (option == "--dict") {
        ok = ParseSize(value, CLzmaStreamEncoder::MaximumDictionary(), size) &&
             size >= CLzmaStreamEncoder::kMinimumDictionary;
        parsed.settings.nDictionary = static_cast<uint32_t>(size);
    } else if (option == "--chunk") {
        ok = ParseSize(value, 64u << 20, size) && (size == 0 || size >= 256);
        parsed.planning.nAverageChunk = static_cast<size_t>(size);
    } else {
        error = "unknown option \"" + option + "\"";
        return false;
    }
    if (!ok)
        error = "bad value for " + option + ": \"" + value + "\"";
    return ok;
}

bool ParseArguments(const std::vector<std::string>& args, SPackArguments& parsed, std::string& error)
{
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--quiet") {
            parsed.bQuiet = true;
        } else if (arg == "--no-cabinets") {
            parsed.planning.bCabinets = false;
        } else if (arg == "--path-order") {
            parsed.planning.bGroupByType = false;
        } else if (arg.starts_with("--")) {
            if (i + 1 >= args.size()) {
                error = "option " + arg + " needs a value";
                return false;
            }
            if (!ParseOption(parsed, arg, args[++i], error))
                return false;
        } else if (parsed.source.empty()) {
            parsed.source = PathFromUtf8(arg);
        } else {
            error = "unexpected argument \"" + arg + "\"";
            return false;
        }
    }
    if (parsed.source.empty() || parsed.stub.empty() || parsed.out.empty()) {
        error = "SRC_DIR, --stub and --out are required";
        return false;
    }
    return true;
}

std::string Display(const fs::path& path)
{
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

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

} // namespace

int RunPackCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    SPackArguments parsed;
    std::string error;
    if (!ParseArguments(args, parsed, error)) {
        err << "ovrapack: " << error << "\n" << kUsage;
        return ExitCodes::kUsage;
    }
    if (IsInside(parsed.out, parsed.source))
        return Fail(err, "the output \"" + Display(parsed.out) + "\" lies inside the source folder");

    CPackageWriter::SInputs inputs;
    if (!FileBytes::Read(parsed.stub, inputs.stub, error))
        return Fail(err, "stub: " + error);
    if (!parsed.picture.empty() && !FileBytes::Read(parsed.picture, inputs.picture, error))
        return Fail(err, "picture: " + error);
    if (parsed.setupName) {
        std::string setup;
        if (!CodePage1252::FromUtf8(*parsed.setupName, setup))
            return Fail(err, "--setup: the name cannot be written in code page 1252");
        parsed.setupName = setup;
    }
    inputs.strBuildId = parsed.strBuildId;
    inputs.setupName = parsed.setupName;
    inputs.settings = parsed.settings;

    CSourceTree tree;
    if (!tree.Scan(parsed.source, error))
        return Fail(err, error);
    for (const std::string& warning : tree.Warnings())
        err << "ovrapack: warning: " << warning << "\n";
    if (parsed.setupName && !parsed.setupName->empty() && !HasSetupProgram(tree, *parsed.setupName))
        err << "ovrapack: warning: no file named \"" << CodePage1252::ToUtf8(*parsed.setupName)
            << "\" in the package's top folder for the stub to start\n";

    std::vector<fs::path> paths;
    for (const auto& entry : tree.Entries())
        paths.push_back(entry.path);
    CSourceReader reader(std::move(paths));
    CTerminalProgress progress(err, !parsed.bQuiet);
    CContainerPlan plan;
    CContainerPlanner planner(tree, reader, parsed.planning, &progress);
    if (!planner.Plan(plan, error))
        return Fail(err, error);

    CPackageWriter writer;
    if (!writer.Prepare(std::move(inputs), plan, error) || !writer.Write(parsed.out, plan, reader, &progress, error))
        return Fail(err, error);

    const CPackageWriter::SResult& result = writer.Result();
    out << "packed " << tree.Entries().size() << " files (" << plan.nTotalFileBytes << " bytes";
    if (plan.nCabinets > 0)
        out << ", " << plan.nCabinets << " cabinets";
    out << ") into " << Display(parsed.out) << "\n"
        << "  chunks " << plan.tables.chunks.size() << ", data " << plan.tables.nDataLength << " bytes, "
        << plan.nSharedBytes << " bytes shared\n"
        << "  stream " << result.nStreamSize << " bytes at " << result.fields.nStreamOffset << " (lc "
        << parsed.settings.nLc << " lp " << parsed.settings.nLp << " pb " << parsed.settings.nPb << " dictionary "
        << result.nDictionary << ")\n"
        << "  build id " << result.fields.strBuildId << ", requires " << result.fields.nRequiredBytes
        << " bytes, file " << result.nFileSize << " bytes\n";
    return ExitCodes::kOk;
}
