#include <exception>
#include <filesystem>
#include <iostream>
#include <new>
#include <string>
#include <vector>

#include "CommandLine.h"
#include "tools/ovrapack/io/PathText.h"
#include "TerminalProgress.h"

#ifdef _WIN32
#include "framework/console/ConsoleStreamBuf.h"

namespace {

int RunTool(int argc, wchar_t** argv, std::ostream& out, std::ostream& err, bool interactive)
{
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) {
        try {
            args.push_back(PathText::Display(std::filesystem::path(argv[i])));
        } catch (const std::filesystem::filesystem_error&) {
            err << "ovrapack: argument " << i << " is not valid UTF-16 text\n";
            return ExitCodes::kUsage;
        }
    }
    COvrapackCommandLine commandLine(CStubLocator::ForThisProgram(), interactive);
    return commandLine.Run(args, out, err);
}

} // namespace

// The wide command line, as typed: the narrow one holds only the ANSI code page.
int wmain(int argc, wchar_t** argv)
{
    CConsoleStreamBuf outBuffer(CConsoleStreamBuf::EStream::Output);
    CConsoleStreamBuf errBuffer(CConsoleStreamBuf::EStream::Error);
    std::ostream out(&outBuffer);
    std::ostream err(&errBuffer);
    int result = ExitCodes::kFailure;
    // Whatever ran out of memory has released what it held on the way here.
    try {
        result = RunTool(argc, argv, out, err, errBuffer.IsConsole());
    } catch (const std::bad_alloc&) {
        err << "ovrapack: not enough memory\n";
    }
    out.flush();
    err.flush();
    return result;
}
#else
int main(int argc, char** argv)
{
    // Whatever ran out of memory has released what it held on the way here.
    try {
        COvrapackCommandLine commandLine(CStubLocator::ForThisProgram(), CTerminalProgress::ErrorIsTerminal());
        return commandLine.Run(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
    } catch (const std::bad_alloc&) {
        std::cerr << "ovrapack: not enough memory\n";
        return ExitCodes::kFailure;
    }
}
#endif
