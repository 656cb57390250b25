#include "CommandLine.h"

#include <algorithm>
#include <functional>
#include <limits>
#include <ostream>

#include <CLI/CLI.hpp>

#include "OptionValues.h"
#include "tools/ovrapack/io/PathText.h"

namespace {

constexpr const char* kProgram = "ovrapack";
constexpr uint64_t kMax32 = std::numeric_limits<uint32_t>::max();
constexpr uint64_t kMax64 = std::numeric_limits<uint64_t>::max();

using PathText::Display;

// Messages of the library start with a capital and may span lines; ours are one line.
std::string OneLine(std::string text)
{
    std::replace(text.begin(), text.end(), '\n', ' ');
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    return text;
}

} // namespace

CLI::Option* COvrapackCommandLine::AddValue(CLI::App& app, const std::string& name, const std::string& typeName,
                                            const std::string& description, const std::string& expected,
                                            std::function<bool(const std::string&)> accept)
{
    SValue& value = m_values.emplace_back();
    value.expected = expected;
    value.accept = std::move(accept);
    value.option = app.add_option(name, value.text, description)->type_name(typeName);
    return value.option;
}

CLI::Option* COvrapackCommandLine::AddInteger(CLI::App& app, const std::string& name, int minimum, int maximum,
                                              int& target, const std::string& description)
{
    const std::string range = "a number from " + std::to_string(minimum) + " to " + std::to_string(maximum);
    return AddValue(app, name, "N", description + " (" + std::to_string(minimum) + "-" + std::to_string(maximum) + ")",
                    range, [minimum, maximum, &target](const std::string& text) {
                        return OptionValues::ParseInteger(text, minimum, maximum, target);
                    });
}

CLI::Option* COvrapackCommandLine::AddOffset(CLI::App& app, const std::string& name, uint64_t maximum,
                                             std::optional<uint64_t>& target, const std::string& description)
{
    const std::string expected = maximum == kMax32 ? "a 32-bit number" : "a 64-bit number";
    return AddValue(app, name, "N", description + "; decimal or 0x hexadecimal", expected,
                    [maximum, &target](const std::string& text) {
                        uint64_t value = 0;
                        if (!OptionValues::ParseUnsigned(text, maximum, value))
                            return false;
                        target = value;
                        return true;
                    });
}

COvrapackCommandLine::COvrapackCommandLine(CStubLocator stubs, bool interactive)
    : m_stubs(std::move(stubs)),
      m_app(std::make_unique<CLI::App>("Builds OvraSFX installers from a folder and reads them back.", kProgram))
{
    m_extract.bInteractive = m_test.bInteractive = m_pack.bInteractive = interactive;
    CLI::App& app = *m_app;
    app.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    app.set_version_flag("--version", std::string(kProgram) + " " + OVRA_VERSION, "Print the version and exit");
    app.set_help_flag("-h,--help", "Print this help and exit");
    app.require_subcommand(1);
    app.get_formatter()->column_width(34);
    app.get_formatter()->label("SUBCOMMAND", "COMMAND");
    app.get_formatter()->label("Positionals", "Arguments");
    AddPack();
    AddList();
    AddTest();
    AddExtract();
    AddInfo();
    AddPatch();
    for (CLI::App* command : app.get_subcommands({}))
        command->group("Commands");
    // After the commands: they would inherit it.
    app.footer("Run 'ovrapack COMMAND --help' for the options of a command.");
}

COvrapackCommandLine::~COvrapackCommandLine() = default;

void COvrapackCommandLine::AddInfo()
{
    CLI::App* info = m_app->add_subcommand("info", "Print the five patch-block fields of a stub or installer");
    info->add_option("FILE", m_info.strPackage, "The stub or installer")->required()->type_name("");
}

void COvrapackCommandLine::AddPatch()
{
    CLI::App* patch = m_app->add_subcommand("patch", "Set patch-block fields of a stub or installer in place");
    patch->add_option("FILE", m_patch.strPackage, "The stub or installer")->required()->type_name("");
    AddValue(*patch, "--build-id", "ID", "Field 1: the build identifier (at most 17 characters)", "a build identifier",
             [this](const std::string& text) {
                 m_patch.buildId = text;
                 return true;
             });
    AddOffset(*patch, "--stream-offset", kMax32, m_patch.streamOffset, "Field 2: file offset of the compressed stream");
    AddValue(*patch, "--setup", "NAME", "Field 3: the setup program's base name (at most 10 characters)", "a name",
             [this](const std::string& text) {
                 m_patch.setupName = text;
                 return true;
             });
    AddOffset(*patch, "--required-bytes", kMax64, m_patch.requiredBytes, "Field 4: free disk space needed, in bytes");
    AddOffset(*patch, "--picture-offset", kMax32, m_patch.pictureOffset,
              "Field 5: file offset of the background picture, 0 for none");
}

void COvrapackCommandLine::AddExtract()
{
    CLI::App* extract = m_app->add_subcommand("extract", "Unpack an installer's files into a folder");
    extract->add_option("PACKAGE", m_extract.strPackage, "The installer")->required()->type_name("");
    extract->add_option("DIR", m_extract.strFolder, "The folder to unpack into (created if missing)")
        ->required()
        ->type_name("");
}

void COvrapackCommandLine::AddTest()
{
    CLI::App* test = m_app->add_subcommand(
        "test", "Decode an installer whole and check every file's assembly, writing nothing (exit 1: damaged)");
    test->add_option("PACKAGE", m_test.strPackage, "The installer")->required()->type_name("");
}

void COvrapackCommandLine::AddList()
{
    CLI::App* list = m_app->add_subcommand("list", "List an installer's patch fields, stream settings, files and shared chunks");
    list->add_option("PACKAGE", m_list.strPackage, "The installer")->required()->type_name("");
    list->add_flag("--chunks", m_list.bChunks, "Every chunk record with its destinations, not only the shared ones");
    list->add_flag("--json", m_list.bJson, "One JSON document instead of text");
}

void COvrapackCommandLine::AddPack()
{
    CLI::App* pack = m_app->add_subcommand("pack", "Build an installer from a folder");
    SPackOptions& o = m_pack;
    pack->add_option("SRC_DIR", o.strSource, "The folder whose files the installer carries")->required()->type_name("");
    pack->add_option("--out", o.strOut, "The installer to write")->required()->type_name("FILE.exe");
    pack->add_option("--stub", o.strStub, "The stub (OvraSFX.exe); default: the one installed with the tool")
        ->type_name("FILE.exe");
    AddValue(*pack, "--setup", "NAME", "Base name of the program started after extraction; default: the stub's",
             "a name", [&o](const std::string& text) {
                 o.setupName = text;
                 return true;
             });
    pack->add_option("--picture", o.strPicture, "Background picture: BMP, PNG or JPEG")->type_name("FILE");
    pack->add_option("--build-id", o.strBuildId, "Build identifier; default: derived from the package's content")
        ->type_name("ID");
    AddInteger(*pack, "--lc", 0, 8, o.settings.nLc, "LZMA literal context bits");
    AddInteger(*pack, "--lp", 0, 4, o.settings.nLp, "LZMA literal position bits");
    AddInteger(*pack, "--pb", 0, 4, o.settings.nPb, "LZMA position bits");
    AddInteger(*pack, "--fb", 5, 273, o.settings.nFastBytes, "LZMA fast bytes");
    AddInteger(*pack, "--threads", 1, 2, o.settings.nThreads,
               "Encoder threads (default 2); each count always writes the same bytes");
    AddValue(*pack, "--dict", "SIZE", "LZMA dictionary size, bytes or with k, m, g (default 128m)",
             "a dictionary size from 4k to " + std::to_string(CLzmaStreamEncoder::MaximumDictionary() >> 20) + "m",
             [&o](const std::string& text) {
                 uint64_t size = 0;
                 if (!OptionValues::ParseSize(text, CLzmaStreamEncoder::MaximumDictionary(), size) ||
                     size < CLzmaStreamEncoder::kMinimumDictionary)
                     return false;
                 o.settings.nDictionary = static_cast<uint32_t>(size);
                 return true;
             });
    AddValue(*pack, "--chunk", "SIZE", "Average chunk size for finding shared content (default 64k; 0: whole files)",
             "0 or a chunk size from 256 to 64m", [&o](const std::string& text) {
                 uint64_t size = 0;
                 if (!OptionValues::ParseSize(text, 64u << 20, size) || (size != 0 && size < 256))
                     return false;
                 o.planning.nAverageChunk = static_cast<size_t>(size);
                 return true;
             });
    pack->add_flag_callback("--no-cabinets", [&o] { o.planning.bCabinets = false; },
                            "Pack uncompressed cabinets as ordinary files");
    pack->add_flag_callback("--path-order", [&o] { o.planning.bGroupByType = false; },
                            "Order the data by path instead of by file type and name");
    pack->add_option("--icon", o.strIcon, "The product's icon in place of the stub's, in every size the file holds")
        ->type_name("FILE.ico");
    pack->add_option("--version-info", o.versionInfo,
                     "Version information, repeatable; KEY is one of CompanyName, FileDescription, FileVersion, "
                     "LegalCopyright, ProductName, ProductVersion")
        ->type_name("KEY=VALUE")
        ->allow_extra_args(false);
    pack->add_option("--depfile", o.strDepfile,
                     "Write a make rule naming every input of the installer, for build tools that rebuild it")
        ->type_name("FILE");
    pack->add_flag("--quiet", o.bQuiet, "No progress");
    std::string places;
    for (const auto& place : m_stubs.Candidates())
        places += "\n  " + Display(place);
    pack->footer("Without --stub the first of these is used:" + (places.empty() ? std::string(" (none known)") : places));
}

int COvrapackCommandLine::Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    try {
        m_app->parse(std::vector<std::string>(args.rbegin(), args.rend()));
    } catch (const CLI::CallForHelp& e) {
        return m_app->exit(e, out, err);
    } catch (const CLI::CallForVersion& e) {
        return m_app->exit(e, out, err);
    } catch (const CLI::ParseError& e) {
        if (m_app->get_subcommands().empty()) {
            if (args.empty())
                return UsageError("a command is needed: pack, list, test, extract, info or patch", err);
            const bool option = args[0].starts_with("-");
            return UsageError(std::string(option ? "unknown option" : "unknown command") + " \"" + args[0] + "\"", err);
        }
        return UsageError(OneLine(e.what()), err);
    }
    // Values are read once help has had its chance: `pack --lc 99 --help` shows the help.
    for (const SValue& value : m_values) {
        if (value.option->count() > 0 && !value.accept(value.text))
            return UsageError(value.option->get_name() + ": \"" + value.text + "\" is not " + value.expected, err);
    }
    return Dispatch(out, err);
}

int COvrapackCommandLine::Dispatch(std::ostream& out, std::ostream& err)
{
    const std::string command = m_app->get_subcommands().at(0)->get_name();
    if (command == "info")
        return RunInfoCommand(m_info, out, err);
    if (command == "patch")
        return RunPatchCommand(m_patch, out, err);
    if (command == "extract")
        return RunExtractCommand(m_extract, out, err);
    if (command == "test")
        return RunTestCommand(m_test, out, err);
    if (command == "list")
        return RunListCommand(m_list, out, err);
    return RunPackCommand(m_pack, m_stubs, out, err);
}

int COvrapackCommandLine::UsageError(const std::string& problem, std::ostream& err) const
{
    std::string help = kProgram;
    if (!m_app->get_subcommands().empty())
        help += " " + m_app->get_subcommands().at(0)->get_name();
    err << kProgram << ": " << problem << " (see '" << help << " --help')\n";
    return ExitCodes::kUsage;
}
