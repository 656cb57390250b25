#include <cerrno>
#include <cstring>
#include <ostream>
#include <string_view>

#include "Commands.h"
#include "ConsolePayloadHost.h"
#include "tools/ovrapack/read/PatchBlockScanner.h"
#include "tools/ovrapack/io/PathText.h"
#include "payload/ErrorTextBuffer.h"
#include "payload/PayloadExtraction.h"
#include "payload/PayloadParser.h"
#include "payload/PayloadResult.h"

namespace {

// The pipeline's error text is framed for a message box; one line per message here.
void PrintErrorText(std::ostream& err, const char* text)
{
    std::string_view rest(text);
    while (!rest.empty()) {
        const size_t end = rest.find('\n');
        const std::string_view line = rest.substr(0, end);
        if (!line.empty())
            err << "ovrapack: " << line << "\n";
        if (end == std::string_view::npos)
            break;
        rest.remove_prefix(end + 1);
    }
}

// extract and test run the same pipeline; test keeps no byte of it.
int RunPipeline(const std::string& packageText, CConsolePayloadHost& host, const char* verb, std::ostream& err)
{
    const std::filesystem::path package = PathText::FromArgument(packageText);
    std::string error;
    const auto found = CPatchBlockScanner::Scan(package, error);
    if (!found) {
        err << "ovrapack: " << packageText << ": " << error << "\n";
        return ExitCodes::kFailure;
    }
    const uint32_t streamOffset = CPatchBlock(found->block.data()).StreamOffset();
    if (streamOffset >= found->nFileSize) {
        err << "ovrapack: " << packageText << ": the stream offset " << streamOffset
            << " lies beyond the end of the file (is this a stub without a payload?)\n";
        return ExitCodes::kFailure;
    }
    char errorText[CErrorTextBuffer::kSize] = {};
    const int result = ExtractPayload(package, streamOffset, errorText, &host);
    host.EndProgress();
    if (result != PayloadResult::kOk) {
        err << "ovrapack: " << verb << " " << packageText << " failed\n";
        // Only a failed seek to the stream comes back without a text: its code is the system's.
        if (errorText[0] == '\0')
            err << "ovrapack: cannot seek to the stream at offset " << streamOffset << ": " << std::strerror(result)
                << "\n";
        PrintErrorText(err, errorText);
        return ExitCodes::kFailure;
    }
    return ExitCodes::kOk;
}

} // namespace

int RunExtractCommand(const SExtractOptions& options, std::ostream& out, std::ostream& err)
{
    const std::filesystem::path folder = PathText::FromArgument(options.strFolder);
    if (!CPayloadPath(folder).CreateFolders()) {
        err << "ovrapack: cannot create \"" << options.strFolder << "\": " << std::strerror(errno) << "\n";
        return ExitCodes::kFailure;
    }
    CConsolePayloadHost host(folder, err, options.bInteractive);
    const int result = RunPipeline(options.strPackage, host, "extracting", err);
    if (result == ExitCodes::kOk)
        out << "extracted " << options.strPackage << " into " << options.strFolder << "\n";
    return result;
}

int RunTestCommand(const STestOptions& options, std::ostream& out, std::ostream& err)
{
    CConsolePayloadHost host({}, err, options.bInteractive, CConsolePayloadHost::EMode::Test);
    const int result = RunPipeline(options.strPackage, host, "testing", err);
    if (result != ExitCodes::kOk)
        return result;
    uint64_t bytes = 0;
    size_t files = 0;
    if (g_pPayloadParser) {
        for (const COutputFile& file : g_pPayloadParser->Files()) {
            ++files;
            for (const auto& [target, piece] : file.Pieces())
                bytes += piece.nLength;
        }
    }
    out << "tested " << options.strPackage << ": " << files << " files, " << bytes << " bytes, no damage found\n";
    return ExitCodes::kOk;
}
