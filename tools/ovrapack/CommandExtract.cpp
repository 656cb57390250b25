#include <cstring>
#include <ostream>
#include <string_view>

#include "Commands.h"
#include "ConsolePayloadHost.h"
#include "PatchBlockScanner.h"
#include "payload/ErrorTextBuffer.h"
#include "payload/PayloadExtraction.h"
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

} // namespace

int RunExtractCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (args.size() != 2) {
        err << "usage: ovrapack extract PACKAGE.exe DIR\n";
        return ExitCodes::kUsage;
    }
    const std::filesystem::path package = args[0];
    const std::filesystem::path folder = args[1];
    std::string error;
    const auto found = CPatchBlockScanner::Scan(package, error);
    if (!found) {
        err << "ovrapack: " << args[0] << ": " << error << "\n";
        return ExitCodes::kFailure;
    }
    const uint32_t streamOffset = CPatchBlock(found->block.data()).StreamOffset();
    if (streamOffset >= found->nFileSize) {
        err << "ovrapack: " << args[0] << ": the stream offset " << streamOffset
            << " lies beyond the end of the file (is this a stub without a payload?)\n";
        return ExitCodes::kFailure;
    }
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec) {
        err << "ovrapack: cannot create \"" << args[1] << "\": " << ec.message() << "\n";
        return ExitCodes::kFailure;
    }

    CConsolePayloadHost host(folder, err);
    char errorText[CErrorTextBuffer::kSize] = {};
    const int result = ExtractPayload(package, streamOffset, errorText, &host);
    host.EndProgress();
    if (result != PayloadResult::kOk) {
        err << "ovrapack: extracting " << args[0] << " failed\n";
        if (errorText[0] == '\0')
            err << "ovrapack: result " << result << " (" << std::strerror(result) << ")\n";
        PrintErrorText(err, errorText);
        return ExitCodes::kFailure;
    }
    out << "extracted " << args[0] << " into " << args[1] << "\n";
    return ExitCodes::kOk;
}
